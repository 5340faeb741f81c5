#include "app/pages/FeedbackPage.h"

#include <string>
#include <vector>

#include "common/Lines.h"
#include "common/PathParts.h"
#include "common/Text.h"
#include "report/Feedback.h"
#include "services/messages/MessageKeys.h"
#include "ui/forms/DisabledWhile.h"

namespace bastion {

namespace {

std::string BlankLine() { return std::string(kCrLf) + std::string(kCrLf); }

}  // namespace

FeedbackPage::FeedbackPage(const services::Services& services, ui::FrmMain& form) : services_(services), form_(form) {}

bool FeedbackPage::ConfirmSendData(bool ticked) {
    if (ticked) return true;
    const std::string text = Message(services::msg::kAnon1) + BlankLine() + Message(services::msg::kAnon2) +
                             BlankLine() + Message(services::msg::kAnon3);
    if (services_.dialogs.MessageBox(text, Message(services::msg::kAnon4), services::MsgButtons::YesNo,
                                     services::MsgIcon::Question) == services::MsgResult::No) {
        // Ticking it again stores "1" through its own click.
        form_.chkSendData.SetValue(ui::kChecked);
        return false;
    }
    return true;
}

void FeedbackPage::Command2_Click() {
    const std::optional<std::string> chosen = services_.dialogs.OpenFile("", "All Files (*.*)|*.*");
    if (chosen) form_.txtFilename.SetText(FileNameOfPath(*chosen));
}

void FeedbackPage::cmdSubmit_Click() {
    const std::string name = Trim(form_.txtFilename.Text());
    if (name.empty()) return;
    services::OperationGate::Operation operation = services_.operations.TryBegin("file name submission");
    if (!operation) return;
    bool accepted = false;
    {
        ui::DisabledWhile busy({&form_.cmdSubmit, &form_.Command2, &form_.txtFilename});
        accepted = SubmitFileName(services_, name);
    }
    const std::string results = Message(services::msg::kResults) + " ";
    form_.Label26.SetCaption(accepted ? results + name + " " +
                                            services_.messages.getMessageContinuing(services::msg::kResultsThank)
                                      : results + Message(services::msg::kProblem) + " " + name + ".  " +
                                            Message(services::msg::kProblem2));
    form_.txtFilename.SetText("");
}

void FeedbackPage::cmdFalsePos_Click() {
    services::OperationGate::Operation operation = services_.operations.TryBegin("false positive report");
    if (!operation) return;
    ui::DisabledWhile busy({&form_.cmdFalsePos});
    const std::string& title = services_.identity.productName;

    std::vector<std::string> locations;
    std::string listed;
    const ui::ListView& results = form_.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    for (std::size_t row = 0; row < results.Count(); ++row) {
        if (!results.Item(row).checked) continue;
        locations.push_back(results.SubItem(row, 1));
        listed += locations.back() + std::string(kCrLf);
    }
    services::Dialogs& dialogs = services_.dialogs;
    if (dialogs.MessageBox(Message(services::msg::kFalsePos) + BlankLine() + listed, title,
                           services::MsgButtons::OkCancel, services::MsgIcon::Question) != services::MsgResult::Ok) {
        return;
    }
    const std::string description = dialogs.InputBox(Message(services::msg::kFalsePos2), title, "").value_or("");
    if (Trim(description).empty()) {
        dialogs.MessageBox(Message(services::msg::kFalsePos3), title, services::MsgButtons::Ok,
                           services::MsgIcon::Exclamation);
        return;
    }
    const FalsePositiveAnswer answer = ReportFalsePositives(services_, locations, description);
    switch (answer.outcome) {
        case FalsePositiveOutcome::TooLong:
            dialogs.MessageBox(Message(services::msg::kTooLong), title, services::MsgButtons::Ok,
                               services::MsgIcon::Exclamation);
            return;
        case FalsePositiveOutcome::Accepted:
            if (dialogs.MessageBox(Message(services::msg::kFalsePos4), title, services::MsgButtons::YesNo,
                                   services::MsgIcon::Question) == services::MsgResult::Yes &&
                excludeTicked) {
                excludeTicked();
            }
            return;
        case FalsePositiveOutcome::Refused:
            break;
    }
    // What the server said helps support; a long answer is cut to its start.
    const std::string said = Trim(answer.said.substr(0, 300));
    dialogs.MessageBox(Message(services::msg::kFalsePos5) + BlankLine() + said, title, services::MsgButtons::Ok,
                       services::MsgIcon::Exclamation);
}

}  // namespace bastion
