#include "report/Feedback.h"

#include <vector>

#include "common/Lines.h"
#include "common/PathParts.h"
#include "common/Text.h"
#include "report/FeedbackRequests.h"
#include "services/messages/MessageKeys.h"
#include "services/operations/TimersHeld.h"
#include "services/waits/RequestWait.h"
#include "ui/forms/DisabledWhile.h"
#include "update/UpdateAddresses.h"

namespace bastion {

namespace {

std::string BlankLine() { return std::string(kCrLf) + std::string(kCrLf); }

}  // namespace

Feedback::Feedback(FeedbackEnvironment env) : env_(env) {}

platform::HttpResult Feedback::Request(const std::string& url) {
    return env_.internet.Request({url}, services::RequestWait(env_.pump, env_.operations));
}

void Feedback::SendAnonymousData() {
    services::OperationGate::Operation operation = env_.operations.TryBegin("anonymous data");
    if (!operation) return;
    const services::TimersHeld held(env_.background);
    const std::string data = CollectRunningProcessNames(env_.processes, env_.codePage);
    // The answer does not matter: the data is a contribution, not a task.
    for (const std::string& url : AnonymousDataUrls(DefinitionServerBase(env_.settings), data)) Request(url);
}

bool Feedback::ConfirmSendData(bool ticked) {
    if (ticked) return true;
    const std::string text = Message(services::msg::kAnon1) + BlankLine() + Message(services::msg::kAnon2) +
                             BlankLine() + Message(services::msg::kAnon3);
    if (env_.dialogs.MessageBox(text, Message(services::msg::kAnon4), services::MsgButtons::YesNo,
                                services::MsgIcon::Question) == services::MsgResult::No) {
        // Ticking it again stores "1" through its own click.
        env_.state.Form().chkSendData.SetValue(ui::kChecked);
        return false;
    }
    return true;
}

void Feedback::Command2_Click() {
    const std::optional<std::string> chosen = env_.dialogs.OpenFile("", "All Files (*.*)|*.*");
    if (chosen) env_.state.Form().txtFilename.SetText(FileNameOfPath(*chosen));
}

void Feedback::cmdSubmit_Click() {
    ui::FrmMain& form = env_.state.Form();
    const std::string name = Trim(form.txtFilename.Text());
    if (name.empty()) return;
    services::OperationGate::Operation operation = env_.operations.TryBegin("file name submission");
    if (!operation) return;
    const services::TimersHeld held(env_.background);
    bool accepted = false;
    {
        ui::DisabledWhile busy({&form.cmdSubmit, &form.Command2, &form.txtFilename});
        if (const std::optional<std::string> url =
                FileNameUrl(DefinitionServerBase(env_.settings), name, env_.codePage)) {
            const platform::HttpResult answer = Request(*url);
            accepted = AnswerAccepts(answer, "Skipped") || AnswerAccepts(answer, "Added");
        }
    }
    const std::string results = Message(services::msg::kResults) + " ";
    form.Label26.SetCaption(
        accepted ? results + name + " " + env_.messages.getMessageContinuing(services::msg::kResultsThank)
                 : results + Message(services::msg::kProblem) + " " + name + ".  " + Message(services::msg::kProblem2));
    form.txtFilename.SetText("");
}

void Feedback::cmdFalsePos_Click() {
    ui::FrmMain& form = env_.state.Form();
    services::OperationGate::Operation operation = env_.operations.TryBegin("false positive report");
    if (!operation) return;
    ui::DisabledWhile busy({&form.cmdFalsePos});
    const std::string& title = env_.identity.productName;

    std::vector<std::string> locations;
    std::string listed;
    const ui::ListView& results = env_.state.ResultsList();
    for (std::size_t row = 0; row < results.Count(); ++row) {
        if (!results.Item(row).checked) continue;
        locations.push_back(results.SubItem(row, 1));
        listed += locations.back() + std::string(kCrLf);
    }
    if (env_.dialogs.MessageBox(Message(services::msg::kFalsePos) + BlankLine() + listed, title,
                                services::MsgButtons::OkCancel,
                                services::MsgIcon::Question) != services::MsgResult::Ok) {
        return;
    }
    const std::string description = env_.dialogs.InputBox(Message(services::msg::kFalsePos2), title, "").value_or("");
    if (Trim(description).empty()) {
        env_.dialogs.MessageBox(Message(services::msg::kFalsePos3), title, services::MsgButtons::Ok,
                                services::MsgIcon::Exclamation);
        return;
    }
    const std::vector<std::string> urls =
        FalsePositiveUrls(DefinitionServerBase(env_.settings), locations, description);
    if (urls.empty()) {
        env_.dialogs.MessageBox(Message(services::msg::kTooLong), title, services::MsgButtons::Ok,
                                services::MsgIcon::Exclamation);
        return;
    }

    std::optional<platform::HttpResult> refused;
    {
        const services::TimersHeld held(env_.background);
        for (const std::string& url : urls) {
            platform::HttpResult answer = Request(url);
            if (!AnswerAccepts(answer, "OK")) {
                refused = std::move(answer);
                break;
            }
        }
    }
    if (!refused) {
        if (env_.dialogs.MessageBox(Message(services::msg::kFalsePos4), title, services::MsgButtons::YesNo,
                                    services::MsgIcon::Question) == services::MsgResult::Yes &&
            excludeTicked) {
            excludeTicked();
        }
        return;
    }
    // What the server said helps support; a long answer is cut to its start.
    std::string said = Trim(refused->body.substr(0, 300));
    env_.dialogs.MessageBox(Message(services::msg::kFalsePos5) + BlankLine() + said, title, services::MsgButtons::Ok,
                            services::MsgIcon::Exclamation);
}

}  // namespace bastion
