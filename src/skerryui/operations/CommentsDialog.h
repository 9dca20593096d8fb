#pragma once

#include <QDialog>

#include "skerry/operations/Comments.h"

class QPlainTextEdit;
class QPushButton;

namespace skerry {

// "Edit Comment Lines": the comment file's text in a fixed-pitch text box, with OK and Cancel.
// OK stores the box's lines as the comment lines; Cancel or closing the dialog changes nothing.
//
// What the box saves: its lines, as typed, joined by CR LF, with no line end after the last one.
// The box shows the comment file's final line end as an empty last line, so a text ending in a
// line end is saved ending in one, and an unchanged OK stores the file's lines as they were.
class CommentsDialog : public QDialog {
    Q_OBJECT

public:
    CommentsDialog(CommentsDialogModel& model, QWidget* parent);

    QPlainTextEdit* richTextBox() const { return richTextBox_; }
    QPushButton* isOK() const { return isOK_; }
    QPushButton* isCancel() const { return isCancel_; }

private:
    void IsOK_Click();

    CommentsDialogModel& model_;
    QPlainTextEdit* richTextBox_ = nullptr;
    QPushButton* isOK_ = nullptr;
    QPushButton* isCancel_ = nullptr;
    bool utf8_ = true; // the comment file was valid UTF-8, so the box's text goes back as UTF-8
};

} // namespace skerry
