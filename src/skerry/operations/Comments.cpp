#include "skerry/operations/Comments.h"

#include <algorithm>

#include "skerry/ground/FileIO.h"
#include "skerry/ground/Text.h"
#include "skerry/model/Listing.h"

namespace skerry {

namespace {

// Writes `text` to the comment file and reads it back: the file's bytes, or why not in words that
// finish "could not be ".
Outcome<std::string> throughCommentFile(const std::string& path, std::string_view text) {
    if (Done written = writeTemporaryFile(os::pathFromUtf8(path), text); !written) {
        return Failure{"written: " + written.reason()};
    }
    auto read = readWholeFile(os::pathFromUtf8(path), MaxCommentFileBytes);
    if (!read) {
        return Failure{"read: " + read.reason()};
    }
    return read;
}

} // namespace

std::string commentFileText(const DataSet& data) {
    std::string text;
    appendCommentLines(text, data);
    text += " \r\n";
    return text;
}

std::string commentBoxFileText(std::string_view boxText) {
    std::string text;
    text.reserve(boxText.size() + boxText.size() / 32);
    forEachLine(boxText, [&](std::string_view line, bool ended) {
        text += line;
        if (ended) {
            text += "\r\n";
        }
        return true;
    });
    return text;
}

void readCommentLines(DataSet& data, std::string_view fileText) {
    int count = 0;
    forEachLine(fileText, [&](std::string_view line, bool) {
        if (count == MaxCommentLines) {
            return false;
        }
        data.CommentBlock.setLine(++count, line);
        return true;
    });
    data.CommentCount = count;
}

CommentsDialogModel::CommentsDialogModel(DataSet& data, Platform& platform)
    : data_(data), platform_(platform) {}

bool CommentsDialogModel::reportFileError(const std::string& reason) {
    platform_.messageBox("The comment file " + data_.CommentFile + " could not be " + reason + ".",
                         "Comment File Error", MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

bool CommentsDialogModel::LoadCommentFile() {
    auto file = throughCommentFile(data_.CommentFile, commentFileText(data_));
    if (!file) {
        return reportFileError(file.reason());
    }
    text_ = *std::move(file);
    return true;
}

WindowPosition CommentsDialogModel::Form_Load(int dialogWidth, int dialogHeight) const {
    const ScreenSize screen = platform_.screenSize();
    // On a screen smaller than the dialog, its top left corner stays on the screen.
    return {std::max(0, (screen.width - dialogWidth) / 4),
            std::max(0, (screen.height - dialogHeight) / 4)};
}

bool CommentsDialogModel::IsOK_Click(std::string_view boxText) {
    const auto file = throughCommentFile(data_.CommentFile, commentBoxFileText(boxText));
    if (!file) {
        return reportFileError(file.reason());
    }
    readCommentLines(data_, *file);
    saved_ = true;
    return true;
}

} // namespace skerry
