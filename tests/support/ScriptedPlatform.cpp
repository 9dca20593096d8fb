#include "support/ScriptedPlatform.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace skerry::test {

std::optional<std::string> ScriptedPlatform::nextDialogAnswer(bool save,
                                                              const FileDialogRequest& request) {
    dialogs.push_back({save, request});
    if (auto during = std::exchange(whileDialogOpen, nullptr)) {
        during();
    }
    if (dialogAnswers.empty()) {
        throw std::logic_error("a file dialog opened that the test did not expect: " +
                               request.title);
    }
    auto answer = std::move(dialogAnswers.front());
    dialogAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPlatform::openFileDialog(const FileDialogRequest& request) {
    return nextDialogAnswer(false, request);
}

std::optional<std::string> ScriptedPlatform::saveFileDialog(const FileDialogRequest& request) {
    return nextDialogAnswer(true, request);
}

std::vector<std::string> ScriptedPlatform::openFilesDialog(const FileDialogRequest& request) {
    std::vector<std::string> paths;
    auto answer = nextDialogAnswer(false, request);
    for (std::size_t start = 0; answer && start <= answer->size();) {
        const std::size_t bar = std::min(answer->find('|', start), answer->size());
        paths.push_back(answer->substr(start, bar - start));
        start = bar + 1;
    }
    return paths;
}

std::optional<std::string> ScriptedPlatform::folderDialog(const std::string& title) {
    FileDialogRequest request;
    request.title = title;
    return nextDialogAnswer(false, request);
}

MessageAnswer ScriptedPlatform::messageBox(std::string_view text, std::string_view title,
                                           MessageIcon icon, MessageButtons buttons) {
    messages.push_back({std::string(text), std::string(title), icon, buttons});
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (messageAnswers.empty()) {
        return MessageAnswer::Yes;
    }
    const MessageAnswer answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

Done ScriptedPlatform::printPicture(const std::string& printerName, const Picture& picture) {
    printed.push_back({printerName, picture, busyPointer});
    return printAnswer;
}

std::vector<std::string> ScriptedPlatform::messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) {
        texts.push_back(m.text);
    }
    return texts;
}

} // namespace skerry::test
