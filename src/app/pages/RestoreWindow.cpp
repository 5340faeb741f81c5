#include "app/pages/RestoreWindow.h"

#include <algorithm>
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

void cmdRestore_Click(ui::FrmRestore& window, std::vector<QuarantineItem>& listed,
                      const RestoreWindowEnvironment& env) {
    services::OperationGate::Operation operation = env.operations.TryBegin("restore");
    if (!operation) return;
    std::optional<services::TimersHeld> held(std::in_place, env.background);
    const auto ask = [&env](std::string_view question) {
        return [&env, question](const std::string& location) {
            return env.dialogs.MessageBox(location + "\r\n\r\n" + env.messages.getMessages(question), env.identity.productName,
                                          services::MsgButtons::YesNo,
                                          services::MsgIcon::Question) == services::MsgResult::Yes;
        };
    };
    const RestoreQuestions questions{ask(msg::kReplace), ask(msg::kRestoreMachineWide)};
    const MachineWidePlaces places(env.quarantine.Files(), env.shell, env.quarantine.Folder());
    int restored = 0;
    std::vector<std::string> failures;
    const std::vector<QuarantineItem> current = env.quarantine.Items();
    for (const ui::ListItem& row : window.lvwQuarantine.Rows()) {
        long long at = -1;
        if (!row.checked || !ParseWholeNumber(row.tag, at) || at < 0 || static_cast<std::size_t>(at) >= listed.size()) {
            continue;
        }
        const QuarantineItem& item = listed[static_cast<std::size_t>(at)];
        if (std::find(current.begin(), current.end(), item) == current.end()) continue;
        const RestoreOutcome outcome = RestoreFromQuarantine(env.quarantine, env.registry, places, item, questions);
        if (outcome.result == RestoreResult::Restored) ++restored;
        if (outcome.result == RestoreResult::Failed) {
            failures.push_back(item.originalLocation + ": " + env.messages.getMessageContinuing(outcome.reason));
        }
    }
    held.reset();
    operation.Finish();
    listed = frmRestore_Load(window, env.quarantine);
    std::string text = env.messages.getMessages(msg::kRestored) + " " + ToDecimal(restored);
    if (!failures.empty()) {
        text += "\r\n" + env.messages.getMessages(msg::kNotRestored) + " " +
                ToDecimal(static_cast<long long>(failures.size()));
        for (const std::string& failure : failures) text += "\r\n" + failure;
    }
    env.dialogs.MessageBox(text, env.identity.productName, services::MsgButtons::Ok,
                           failures.empty() ? services::MsgIcon::Information : services::MsgIcon::Exclamation);
}

}  // namespace bastion
