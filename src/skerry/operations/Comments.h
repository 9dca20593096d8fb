#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "skerry/ground/Platform.h"
#include "skerry/ground/WindowPlacement.h"
#include "skerry/model/DataSet.h"

namespace skerry {

// The largest comment file read back: far more than 50 lines of 96 characters.
inline constexpr std::uintmax_t MaxCommentFileBytes = std::uintmax_t{16} * 1024 * 1024;

// What the comment file holds when the dialog opens: the comment lines 1..CommentCount, each its
// full 96 characters, then one line of a single blank (room to type a new line), every line
// ended by CR LF.
std::string commentFileText(const DataSet& data);

// The text box's text as the comment file stores it: lines end at CR LF, LF or CR in the box and
// at CR LF in the file. A text that ends without a line end is saved without one.
std::string commentBoxFileText(std::string_view boxText);

// Reads a comment file's text line by line into the comment lines: lines end at CR LF, LF or CR
// (a last line without a line end counts when it is not empty); each line is cut to 96
// characters or padded with blanks (an empty line is 96 blanks); lines beyond the 50th are
// dropped. CommentCount becomes the number of lines read; lines above it keep their old text.
void readCommentLines(DataSet& data, std::string_view fileText);

// The logic of the "Edit Comment Lines" dialog. The comment lines travel to the dialog and back
// through the comment file, "~comment.tmp" in the working folder: opening writes them there and
// the text box shows that file; OK saves the box's text to the file and reads the comment lines
// back from it. Cancel, or closing the dialog, changes nothing.
class CommentsDialogModel {
public:
    // `data.CommentFile` names the comment file; the caller has just recomputed it.
    CommentsDialogModel(DataSet& data, Platform& platform);

    // Writes the comment file from the data set and reads it back as the text box's text. When
    // the file cannot be written or read, the user is told why and false is returned: the dialog
    // is not shown.
    bool LoadCommentFile();

    // The text the text box shows when the dialog opens: the comment file's bytes.
    const std::string& RichTextBox1() const { return text_; }

    // Where the dialog goes: at a quarter of the free screen space from the left and the top.
    WindowPosition Form_Load(int dialogWidth, int dialogHeight) const;

    // OK with the box's text: saves it to the comment file, reads the comment lines back and
    // returns true (the dialog closes). When the file cannot be written or read, the user is told
    // why, nothing changes and false is returned: the dialog stays open with the text.
    bool IsOK_Click(std::string_view boxText);

    // True once OK stored new comment lines: the listing is to be refreshed.
    bool saved() const { return saved_; }

private:
    bool reportFileError(const std::string& reason);

    DataSet& data_;
    Platform& platform_;
    std::string text_;
    bool saved_ = false;
};

} // namespace skerry
