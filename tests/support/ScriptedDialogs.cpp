#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace bastion::testing {

namespace {

services::MsgResult FirstButton(services::MsgButtons buttons) {
    switch (buttons) {
        case services::MsgButtons::Ok:
        case services::MsgButtons::OkCancel:
            return services::MsgResult::Ok;
        case services::MsgButtons::YesNo:
        case services::MsgButtons::YesNoCancel:
            return services::MsgResult::Yes;
        case services::MsgButtons::AbortRetryIgnore:
            return services::MsgResult::Abort;
        case services::MsgButtons::RetryCancel:
            return services::MsgResult::Retry;
    }
    return services::MsgResult::Ok;
}

const char* KindName(AskedDialog::Kind kind) {
    switch (kind) {
        case AskedDialog::Kind::MessageBox:
            return "message box";
        case AskedDialog::Kind::InputBox:
            return "input box";
        case AskedDialog::Kind::OpenFile:
            return "open-file dialog";
        case AskedDialog::Kind::BrowseFolder:
            return "folder browser";
    }
    return "dialog";
}

template <typename T>
std::optional<T> TakeFront(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

}  // namespace

void ScriptedDialogs::Unscripted(const AskedDialog& question) const {
    if (failUnscripted_)
        ADD_FAILURE() << "unexpected " << KindName(question.kind) << " \"" << question.title << "\": \""
                      << question.text << "\"";
}

services::MsgResult ScriptedDialogs::MessageBox(const std::string& text, const std::string& title,
                                          services::MsgButtons buttons, services::MsgIcon icon) {
    asked_.push_back({AskedDialog::Kind::MessageBox, text, title, buttons, icon, {}});
    if (auto answer = TakeFront(messageAnswers_)) {
        if (answer->action) answer->action();
        return answer->answer;
    }
    Unscripted(asked_.back());
    return defaultMessageAnswer_.value_or(FirstButton(buttons));
}

std::optional<std::string> ScriptedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                                     const std::string& defaultText) {
    asked_.push_back({AskedDialog::Kind::InputBox, prompt, title, services::MsgButtons::OkCancel,
                      services::MsgIcon::None, defaultText});
    if (auto answer = TakeFront(inputAnswers_)) return *answer;
    Unscripted(asked_.back());
    return defaultInput_;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const std::string& title, const std::string& filter) {
    asked_.push_back(
        {AskedDialog::Kind::OpenFile, {}, title, services::MsgButtons::OkCancel, services::MsgIcon::None, filter});
    if (auto answer = TakeFront(fileAnswers_)) return *answer;
    Unscripted(asked_.back());
    return defaultFile_;
}

std::optional<std::string> ScriptedDialogs::BrowseFolder(const std::string& title) {
    asked_.push_back(
        {AskedDialog::Kind::BrowseFolder, {}, title, services::MsgButtons::OkCancel, services::MsgIcon::None, {}});
    if (auto answer = TakeFront(folderAnswers_)) return *answer;
    Unscripted(asked_.back());
    return defaultFolder_;
}

std::vector<AskedDialog> ScriptedDialogs::AskedMessageBoxes() const {
    std::vector<AskedDialog> boxes;
    for (const AskedDialog& question : asked_)
        if (question.kind == AskedDialog::Kind::MessageBox) boxes.push_back(question);
    return boxes;
}

std::size_t ScriptedDialogs::PendingAnswers() const {
    return messageAnswers_.size() + inputAnswers_.size() + fileAnswers_.size() + folderAnswers_.size();
}

}  // namespace bastion::testing
