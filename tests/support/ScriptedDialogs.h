// Dialogs that answer from queues and remember every question, so a test
// scripts the user's answers and then checks what the user was shown.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "services/dialogs/Dialogs.h"

namespace bastion::testing {

struct AskedDialog {
    enum class Kind { MessageBox, InputBox, OpenFile, BrowseFolder };
    Kind kind = Kind::MessageBox;
    // Message text, input prompt; empty for the file and folder dialogs.
    std::string text;
    std::string title;
    services::MsgButtons buttons = services::MsgButtons::Ok;
    services::MsgIcon icon = services::MsgIcon::None;
    // The input box's default text, the open-file dialog's filter.
    std::string detail;
};

class ScriptedDialogs : public services::Dialogs {
public:
    // services::Dialogs
    services::MsgResult MessageBox(const std::string& text, const std::string& title, services::MsgButtons buttons,
                             services::MsgIcon icon) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    std::optional<std::string> OpenFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string> BrowseFolder(const std::string& title) override;

    // Answers, taken in order.
    void AnswerMessageBox(services::MsgResult answer) { messageAnswers_.push_back({answer, {}}); }
    // The same, running an action as the answer is given: the user fixing
    // something before pressing Retry.
    void AnswerMessageBox(services::MsgResult answer, std::function<void()> action) {
        messageAnswers_.push_back({answer, std::move(action)});
    }
    void AnswerInputBox(std::optional<std::string> answer) { inputAnswers_.push_back(std::move(answer)); }
    void AnswerOpenFile(std::optional<std::string> answer) { fileAnswers_.push_back(std::move(answer)); }
    void AnswerBrowseFolder(std::optional<std::string> answer) { folderAnswers_.push_back(std::move(answer)); }

    // What an empty queue answers. Message boxes: the given answer, or
    // without one the first button of the box (OK, Yes, Abort, Retry). The
    // other dialogs: cancelled, unless set.
    void SetDefaultMessageBoxAnswer(services::MsgResult answer) { defaultMessageAnswer_ = answer; }
    void SetDefaultInputAnswer(std::optional<std::string> answer) { defaultInput_ = std::move(answer); }
    void SetDefaultOpenFileAnswer(std::optional<std::string> answer) { defaultFile_ = std::move(answer); }
    void SetDefaultBrowseFolderAnswer(std::optional<std::string> answer) { defaultFolder_ = std::move(answer); }
    // A question with no scripted answer fails the running test.
    void FailOnUnscriptedQuestion(bool fail = true) { failUnscripted_ = fail; }

    // Every question asked, in order.
    const std::vector<AskedDialog>& Asked() const { return asked_; }
    std::vector<AskedDialog> AskedMessageBoxes() const;
    // Answers still queued (a test can check all were used).
    std::size_t PendingAnswers() const;

private:
    void Unscripted(const AskedDialog& question) const;

    struct MessageAnswer {
        services::MsgResult answer;
        std::function<void()> action;
    };
    std::deque<MessageAnswer> messageAnswers_;
    std::deque<std::optional<std::string>> inputAnswers_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::deque<std::optional<std::string>> folderAnswers_;
    std::optional<services::MsgResult> defaultMessageAnswer_;
    std::optional<std::string> defaultInput_;
    std::optional<std::string> defaultFile_;
    std::optional<std::string> defaultFolder_;
    bool failUnscripted_ = false;
    std::vector<AskedDialog> asked_;
};

}  // namespace bastion::testing
