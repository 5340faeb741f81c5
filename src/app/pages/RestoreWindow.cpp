#include "app/pages/RestoreWindow.h"

#include <optional>
#include <vector>

#include "common/Text.h"
#include "removal/RemovalMessages.h"
#include "removal/quarantine/QuarantineRestore.h"
#include "services/operations/TimersHeld.h"

namespace bastion {

std::vector<QuarantineItem> frmRestore_Load(ui::FrmRestore& window, Quarantine& quarantine) {
    ui::ListView& list = window.lvwQuarantine;
    list.Clear();
    std::vector<QuarantineItem> listed = quarantine.Items();
    for (std::size_t at = 0; at < listed.size(); ++at) {
        const QuarantineItem& item = listed[at];
        const std::size_t row = list.Add(item.date);
        list.SetSubItem(row, 1, std::string(QuarantineKindName(item.kind)));
        list.SetSubItem(row, 2, item.originalLocation);
        list.SetTag(row, ToDecimal(static_cast<long long>(at)));
    }
    return listed;
}

void cmdRestore_Click(ui::FrmRestore& window, std::vector<QuarantineItem>& listed, const RestoreWindowEnvironment& env) {
    services::OperationGate::Operation operation = env.operations.TryBegin("restore");
    if (!operation) return;
    std::optional<services::TimersHeld> held(std::in_place, env.background);
    const auto ask = [&env](std::string_view question) {
        return [&env, question](const std::string& location) {
            return env.dialogs.MessageBox(location + "\r\n\r\n" + env.messages.getMessages(question),
                                          env.identity.productName, services::MsgButtons::YesNo,
                                          services::MsgIcon::Question) == services::MsgResult::Yes;
        };
    };
    std::vector<QuarantineItem> chosen;
    for (const ui::ListItem& row : window.lvwQuarantine.Rows()) {
        long long at = -1;
        if (!row.checked || !ParseWholeNumber(row.tag, at) || at < 0 || static_cast<std::size_t>(at) >= listed.size()) {
            continue;
        }
        chosen.push_back(listed[static_cast<std::size_t>(at)]);
    }
    const RestoreSummary summary = RestoreChosen(env.quarantine, env.registry, env.shell, chosen,
                                                 {ask(msg::kReplace), ask(msg::kRestoreMachineWide)});
    held.reset();
    operation.Finish();
    listed = frmRestore_Load(window, env.quarantine);
    std::string text = env.messages.getMessages(msg::kRestored) + " " + ToDecimal(summary.restored);
    if (!summary.failures.empty()) {
        text += "\r\n" + env.messages.getMessages(msg::kNotRestored) + " " +
                ToDecimal(static_cast<long long>(summary.failures.size()));
        for (const RestoreFailure& failure : summary.failures) {
            text += "\r\n" + failure.item.originalLocation + ": " + env.messages.getMessageContinuing(failure.reason);
        }
    }
    env.dialogs.MessageBox(text, env.identity.productName, services::MsgButtons::Ok,
                           summary.failures.empty() ? services::MsgIcon::Information : services::MsgIcon::Exclamation);
}

}  // namespace bastion
