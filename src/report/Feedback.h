// What the user sends to the definition server: the anonymous data (after
// a scan that found nothing and after a removal, when "chkSendData" is
// ticked), a file name they suspect, and a report of false positives. Each
// request is an operation: it starts only when no other runs, the control
// that started it is disabled meanwhile, and the background timers wait.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "scan/state/ScanState.h"
#include "services/Services.h"

namespace bastion {

struct FeedbackEnvironment : services::Services {
    ScanState& state;
};

class Feedback {
public:
    explicit Feedback(FeedbackEnvironment env);
    Feedback(const Feedback&) = delete;
    Feedback& operator=(const Feedback&) = delete;

    // Puts the ticked results on the exclusion list, without asking.
    std::function<void()> excludeTicked;

    // Sends the names of the running programs; nothing when there are none.
    void SendAnonymousData();
    // "chkSendData" was clicked: clearing it asks first; "No" ticks it
    // again. Whether the box's new state is to be stored.
    bool ConfirmSendData(bool ticked);
    // "Browse": the chosen file's name (without its folder) into
    // txtFilename.
    void Command2_Click();
    // "Submit" or Enter in txtFilename: sends the file name and tells the
    // result in Label26; an empty name sends nothing.
    void cmdSubmit_Click();
    // "False positive": the ticked results' locations with the user's
    // description; on success offers to exclude them.
    void cmdFalsePos_Click();

private:
    // One request, the window kept alive while it runs.
    platform::HttpResult Request(const std::string& url);
    std::string Message(std::string_view key) const { return env_.messages.getMessages(key); }

    FeedbackEnvironment env_;
};

}  // namespace bastion
