// The feedback controls of the main window: a file name the user suspects
// ("Browse", "Submit"), a report of the ticked results as false positives,
// and the question before the anonymous data is switched off. A request is
// an operation: it starts only when no other runs, and the control that
// started it is disabled meanwhile.
#pragma once

#include <functional>

#include "services/Services.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

class FeedbackPage {
public:
    FeedbackPage(const services::Services& services, ui::FrmMain& form);
    FeedbackPage(const FeedbackPage&) = delete;
    FeedbackPage& operator=(const FeedbackPage&) = delete;

    // Puts the ticked results on the exclusion list, without asking.
    std::function<void()> excludeTicked;

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
    std::string Message(std::string_view key) const { return services_.messages.getMessages(key); }

    services::Services services_;
    ui::FrmMain& form_;
};

}  // namespace bastion
