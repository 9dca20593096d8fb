#include "skerryui/platform/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QImageWriter>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>
#include <chrono>

#include "skerry/ground/FileSystem.h"
#include "skerryui/base/QtText.h"
#include "skerryui/export/PictureImage.h"
#include "skerryui/export/PrintPicture.h"

namespace skerry {

namespace {

QWidget* dialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return QApplication::activeWindow();
}

} // namespace

QString qtFileFilter(const std::string& filter) {
    QString text = toQString(filter);
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        return text;
    }
    const QString description = text.left(bar).trimmed();
    QString pattern = text.mid(bar + 1).trimmed();
    if (pattern == QLatin1String("*.*")) {
        pattern = QStringLiteral("*");
    }
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

QStringList QtPlatform::runFileDialog(const FileDialogRequest& request, DialogKind kind) {
    QFileDialog dialog(dialogParent(), toQString(request.title), QDir::currentPath(),
                       qtFileFilter(request.filter));
    const bool save = kind == DialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (kind == DialogKind::OpenSeveral) {
        dialog.setFileMode(QFileDialog::ExistingFiles);
    } else {
        dialog.setFileMode(save || !(request.flags & FileMustExist) ? QFileDialog::AnyFile
                                                                    : QFileDialog::ExistingFile);
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & OverwritePrompt));
    if (!request.defaultExtension.empty()) {
        dialog.setDefaultSuffix(toQString(request.defaultExtension));
    }
    // A wildcard as the initial name only narrows the listing, which the filter already does.
    if (!request.initialName.empty() &&
        request.initialName.find_first_of("*?") == std::string::npos) {
        dialog.selectFile(toQString(request.initialName));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

std::optional<std::string> QtPlatform::openFileDialog(const FileDialogRequest& request) {
    const QStringList chosen = runFileDialog(request, DialogKind::Open);
    // File names are UTF-8 in the program on every system.
    return chosen.isEmpty() ? std::nullopt : std::optional(chosen.constFirst().toStdString());
}

std::optional<std::string> QtPlatform::saveFileDialog(const FileDialogRequest& request) {
    const QStringList chosen = runFileDialog(request, DialogKind::Save);
    return chosen.isEmpty() ? std::nullopt : std::optional(chosen.constFirst().toStdString());
}

std::vector<std::string> QtPlatform::openFilesDialog(const FileDialogRequest& request) {
    std::vector<std::string> paths;
    for (const QString& path : runFileDialog(request, DialogKind::OpenSeveral)) {
        paths.push_back(path.toStdString());
    }
    return paths;
}

std::optional<std::string> QtPlatform::folderDialog(const std::string& title) {
    QFileDialog dialog(dialogParent(), toQString(title), QDir::currentPath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

MessageAnswer QtPlatform::messageBox(std::string_view text, std::string_view title,
                                     MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(dialogParent());
    box.setWindowTitle(toQString(title));
    box.setText(toQString(text));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::No ? MessageAnswer::No : MessageAnswer::Yes;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

void QtPlatform::sleep(std::chrono::milliseconds duration) {
    QThread::msleep(static_cast<unsigned long>(duration.count()));
}

void QtPlatform::processEvents() {
    QCoreApplication::processEvents();
}

LocalDateTime QtPlatform::now() {
    const QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(),  t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

std::uint32_t QtPlatform::randomSeed() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
}

ScreenSize QtPlatform::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {1024, 768};
    }
    const QRect geometry = screen->geometry();
    return {geometry.width(), geometry.height()};
}

std::string QtPlatform::defaultPrinterName() {
    return QPrinterInfo::defaultPrinterName().toStdString();
}

std::vector<std::string> QtPlatform::printerNames() {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        names.push_back(name.toStdString());
    }
    return names;
}

Done QtPlatform::printPicture(const std::string& printerName, const Picture& picture) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(toQString(printerName));
    if (info.isNull()) {
        return Failure{"the printer is not installed."};
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Skerry"));
    if (!PrintPictureFitted(printer, imageFromPicture(picture)) ||
        printer.printerState() == QPrinter::Error) {
        return Failure{"the print system did not take the page."};
    }
    return {};
}

void QtPlatform::putPictureOnClipboard(const Picture& picture) {
    QGuiApplication::clipboard()->setImage(imageFromPicture(picture));
}

Done QtPlatform::saveBitmapFile(const std::string& path, const Picture& picture) {
    QImageWriter writer(QString::fromStdString(path), "BMP");
    if (!writer.write(imageFromPicture(picture))) {
        return Failure{writer.errorString().toStdString()};
    }
    return {};
}

void QtPlatform::showBusyPointer(bool busy) {
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

bool QtPlatform::anotherInstanceRunning() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    instanceLock_ = std::make_unique<QLockFile>(folder + QStringLiteral("/skerry.lock"));
    // The lock stays held for the whole run; one left behind by a crashed copy is recognised
    // as stale by its process id and taken over.
    instanceLock_->setStaleLockTime(0);
    return !instanceLock_->tryLock(0) && instanceLock_->error() == QLockFile::LockFailedError;
}

std::filesystem::path QtPlatform::settingsFolder() {
    return os::userSettingsFolder();
}

void QtPlatform::endProgram(int exitCode) {
    QCoreApplication::exit(exitCode);
}

} // namespace skerry
