// The peer of Skerry's start-up and memory figures: a Qt program with none of Skerry's logic that
// shows the windows Skerry shows, in the same order. It asks for the same fonts, sizes and texts,
// and quits as soon as its last window is on screen, reporting its peak memory.
//   same-windows
//       the splash with its texts and picture, then the main window with its menus and three
//       empty text panes; quits once the main window is on screen
//   same-windows --editor DATA LISTING EDITOR_SIZE PLOT_SIZE
//       then DATA's text in the first pane and LISTING's in the third, and over the main window
//       a window of EDITOR_SIZE (WIDTHxHEIGHT) with the editor's menus, the installed printers
//       in its Printer menu and an image of PLOT_SIZE; quits once that window is on screen.
//       The editor's toolbars are left out.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "BenchWindows.h"

namespace {

QFont namedFont(const char* family, QFont::StyleHint hint, int points, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setStyleHint(hint);
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QFont serif(int points, bool bold = false) {
    return namedFont("Times New Roman", QFont::Serif, points, bold);
}

// The splash: white, four lines of text and a drawn picture of a scan.
class Splash : public QWidget {
public:
    Splash() : QWidget(nullptr, Qt::Window) {
        setWindowTitle(QStringLiteral("Skerry V" SKERRY_VERSION));
        setFixedSize(480, 240);
        setAutoFillBackground(true);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, Qt::white);
        setPalette(palette);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter p(this);
        p.setFont(serif(18, true));
        p.drawText(QRect(0, 16, width(), 34), Qt::AlignHCenter,
                   QStringLiteral("Skerry V" SKERRY_VERSION "  for Win95 + WinNT"));
        p.setFont(serif(14));
        p.drawText(QRect(190, 70, width() - 200, 28), Qt::AlignLeft,
                   QStringLiteral("Editing Program For Analytical"));
        p.drawText(QRect(190, 98, width() - 200, 28), Qt::AlignLeft,
                   QStringLiteral("Ultracentrifugation Data"));
        p.setFont(serif(10));
        p.drawText(QRect(190, 150, width() - 200, 22), Qt::AlignLeft,
                   QStringLiteral("Written by the Skerry developers"));
        p.drawText(QRect(190, 172, width() - 200, 22), Qt::AlignLeft,
                   QStringLiteral("Free software for ultracentrifuge users"));

        const QRectF box(24, 66, 150, 150);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(box, QColor(236, 242, 248));
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.drawRect(box);
        const QRectF plot = box.adjusted(14, 14, -14, -14);
        QPainterPath curve;
        for (int i = 0; i <= 60; ++i) {
            const double t = i / 60.0;
            const double y = 0.08 + 0.78 / (1.0 + std::exp(-(t - 0.45) * 14.0)) + 0.1 * t;
            const QPointF point(plot.left() + t * plot.width(), plot.bottom() - y * plot.height());
            if (i == 0) {
                curve.moveTo(point);
            } else {
                curve.lineTo(point);
            }
        }
        p.setPen(QPen(QColor(0, 127, 0), 2.0));
        p.drawPath(curve);
        p.setPen(QPen(QColor(255, 0, 0), 1.5));
        for (int i = 0; i < 4; ++i) {
            p.drawEllipse(QPointF(plot.left() + (0.02 + 0.03 * i) * plot.width(),
                                  plot.bottom() - (0.5 - 0.1 * i) * plot.height()),
                          3.0, 3.0);
        }
    }
};

// A menu entry: its text, whether it can be chosen and whether it is shown.
struct Entry {
    const char* text = nullptr;
    bool enabled = true;
    bool visible = true;
};

QMenu* addMenu(QMenuBar& bar, Entry menu, std::initializer_list<Entry> entries) {
    QMenu* m = bar.addMenu(QString::fromLatin1(menu.text));
    m->menuAction()->setEnabled(menu.enabled);
    m->menuAction()->setVisible(menu.visible);
    for (const Entry& e : entries) {
        QAction* action = m->addAction(QString::fromLatin1(e.text));
        action->setEnabled(e.enabled);
        action->setVisible(e.visible);
    }
    return m;
}

// The main window: the menu bar with Skerry's menus and entries, and three text panes on tabs.
class Main : public QMainWindow {
public:
    Main() {
        resize(820, 560);
        auto* tabs = new QTabWidget(this);
        for (const char* caption : {"Data File", "Blank File", "Edited Data File"}) {
            auto* pane = new QPlainTextEdit(tabs);
            pane->setReadOnly(true);
            pane->setLineWrapMode(QPlainTextEdit::NoWrap);
            pane->setFont(namedFont("Courier New", QFont::TypeWriter, 10));
            panes_[static_cast<std::size_t>(tabs->count())] = pane;
            tabs->addTab(pane, QString::fromLatin1(caption));
        }
        setCentralWidget(tabs);

        QMenuBar& bar = *menuBar();
        addMenu(bar, {"File"},
                {{"Get Data"},
                 {"Get File(s) From Fit-File"},
                 {"Get Blank", false},
                 {"Clear Blank", false}});
        QMenu* loaded = addMenu(bar, {"LoadedFiles", true, false}, {});
        for (int i = 1; i <= 15; ++i) {
            QAction* action =
                loaded->addAction(i == 1 ? QStringLiteral("1") : QStringLiteral("%1: ").arg(i));
            action->setCheckable(true);
            action->setEnabled(false);
            action->setVisible(i == 1);
        }
        addMenu(bar, {"Edit", false},
                {{"Data (graphically)"},
                 {"Comment Lines"},
                 {"Invert Sign of Data"},
                 {"Add Random Noise"},
                 {"Remove Random Noise", false, false}});
        addMenu(bar, {"Save", false},
                {{"Complete"}, {"Complete (as R^2/2)"}, {"Truncated"}, {"Truncated (as R^2/2)"}});
        bar.addAction(QStringLiteral("Set Plot Colors"));
    }

    QPlainTextEdit& pane(std::size_t index) { return *panes_.at(index); }

private:
    std::array<QPlainTextEdit*, 3> panes_{};
};

// Shows an image it is given, as the editor's plot shows its back buffer.
class ImageView : public QWidget {
public:
    ImageView(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter p(this);
        p.drawImage(0, 0, image_);
    }

private:
    const QImage& image_;
};

// The editor's window without its toolbars: the menu bar, an image and the read-out strip.
class Editor : public QDialog {
public:
    Editor(QSize size, QSize plot, QWidget* parent)
        : QDialog(parent), image_(plot, QImage::Format_RGB32) {
        image_.fill(Qt::white);
        auto* bar = new QMenuBar(this);
        bar->addAction(QStringLiteral("&ZoomOut"))->setEnabled(false);
        bar->addAction(QStringLiteral("&Hide (X,Y)"));
        QMenu* printer = bar->addMenu(QStringLiteral("&Printer"));
        printer->addSeparator();
        const QString chosen = QPrinterInfo::defaultPrinterName();
        for (const QString& name : QPrinterInfo::availablePrinterNames()) {
            QAction* entry = printer->addAction(name);
            entry->setCheckable(true);
            entry->setChecked(name == chosen);
        }
        printer->addSeparator();
        printer->addAction(QStringLiteral("Print"));
        QMenu* copy = bar->addMenu(QStringLiteral("&Copy"));
        copy->addAction(QStringLiteral("To Clipboard"));
        copy->addAction(QStringLiteral("To File (Bitmap)"));

        auto* strip = new QWidget(this);
        strip->setAutoFillBackground(true);
        auto* xy = new QLabel(strip);
        auto* file = new QLabel(strip);
        for (QLabel* label : {xy, file}) {
            label->setFont(serif(12));
            label->setTextFormat(Qt::PlainText);
        }
        strip->setFixedHeight(xy->fontMetrics().height() + 8);

        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        column->setMenuBar(bar);
        column->addWidget(new ImageView(image_, this), 1);
        column->addWidget(strip);
        resize(size);
    }

private:
    QImage image_;
};

std::optional<QSize> sizeArgument(const char* text) {
    int width = 0;
    int height = 0;
    if (std::sscanf(text, "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    return QSize(width, height);
}

// A text file's lines for a pane, with CR LF line ends made single line ends.
QString paneText(const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text = QString::fromLatin1(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skerry"));
    // The windows carry Skerry's icon, built in from the same pictures.
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/icons/skerry-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("skerry"));

    std::optional<QSize> editorSize;
    std::optional<QSize> plotSize;
    if (argc == 6 && std::string(argv[1]) == "--editor") {
        editorSize = sizeArgument(argv[4]);
        plotSize = sizeArgument(argv[5]);
    }
    if (argc != 1 && (!editorSize || !plotSize)) {
        std::fprintf(stderr, "usage: same-windows [--editor DATA LISTING EDITOR_SIZE PLOT_SIZE]\n");
        return 2;
    }

    // Placed as Skerry places its windows: a quarter of the free screen space from the left and
    // the top.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const auto place = [&screen](QWidget& window) {
        window.move(std::max(0, (screen.width() - window.width()) / 4),
                    std::max(0, (screen.height() - window.height()) / 4));
    };
    {
        Splash splash;
        place(splash);
        splash.show();
        for (int i = 0; i < 100; ++i) {
            QCoreApplication::processEvents();
        }
    }
    Main main;
    place(main);
    main.show();
    main.setWindowTitle(QStringLiteral("Skerry V" SKERRY_VERSION));

    skerry::bench::whenExposed(main, [&] {
        if (!editorSize) {
            skerry::bench::reportPeakMemory();
            QCoreApplication::exit(0);
            return;
        }
        main.pane(0).setPlainText(paneText(argv[2]));
        main.pane(2).setPlainText(paneText(argv[3]));
        Editor editor(*editorSize, *plotSize, &main);
        editor.move((screen.width() - editor.width()) / 2, (screen.height() - editor.height()) / 2);
        // The window is modal, as the editor is: it is left from within its own event loop.
        QTimer::singleShot(0, &editor, [&editor] {
            skerry::bench::whenExposed(editor, [&editor] {
                skerry::bench::reportPeakMemory();
                editor.reject();
            });
        });
        editor.exec();
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}
