#include "skerryui/operations/CommentsDialog.h"

#include <QHBoxLayout>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "skerryui/base/Fonts.h"
#include "skerryui/base/PaneText.h"

namespace skerry {

namespace {

// The box's lines joined by line feeds. Taken block by block because the document's plain text
// would turn non-breaking spaces into blanks; a line break typed inside a line counts as a line
// end too.
QString boxLines(const QPlainTextEdit& box) {
    QString text;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        if (block != box.document()->begin()) {
            text += QLatin1Char('\n');
        }
        text += block.text();
    }
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

// The comment box. Qt 6.4 crashes pasting or dropping data of no format at all, which is what
// the clipboard holds on X11 once the program that copied to it has ended; there is nothing to
// insert then.
class CommentBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override {
        if (source != nullptr && !source->formats().isEmpty()) {
            QPlainTextEdit::insertFromMimeData(source);
        }
    }
};

} // namespace

CommentsDialog::CommentsDialog(CommentsDialogModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QStringLiteral("Comments"));
    setWindowTitle(QStringLiteral("Edit Comment Lines"));
    setFont(sansFont(9));

    richTextBox_ = new CommentBox(this);
    richTextBox_->setObjectName(QStringLiteral("RichTextBox1"));
    richTextBox_->setFont(fixedPitchFont(10));
    richTextBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    const DecodedText comments = decodeBytes(model_.RichTextBox1());
    utf8_ = comments.utf8;
    richTextBox_->setPlainText(comments.text);
    // Room for a full comment line of 96 characters and a little more.
    const QFontMetrics metrics(richTextBox_->font());
    richTextBox_->setMinimumSize(metrics.horizontalAdvance(QString(100, QLatin1Char('M'))) +
                                     richTextBox_->verticalScrollBar()->sizeHint().width() +
                                     2 * richTextBox_->frameWidth(),
                                 metrics.lineSpacing() * 20);

    isOK_ = new QPushButton(QStringLiteral("&OK"), this);
    isOK_->setObjectName(QStringLiteral("IsOK"));
    isOK_->setAutoDefault(false);
    connect(isOK_, &QPushButton::clicked, this, [this] { IsOK_Click(); });
    isCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    isCancel_->setObjectName(QStringLiteral("IsCancel"));
    isCancel_->setAutoDefault(false);
    connect(isCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(isOK_);
    buttons->addWidget(isCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(richTextBox_, 1);
    layout->addLayout(buttons);

    adjustSize();
    const WindowPosition place = model_.Form_Load(width(), height());
    move(place.left, place.top);
}

void CommentsDialog::IsOK_Click() {
    const QString text = boxLines(*richTextBox_);
    const QByteArray bytes = utf8_ ? text.toUtf8() : text.toLatin1();
    if (model_.IsOK_Click(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        accept();
    }
}

} // namespace skerry
