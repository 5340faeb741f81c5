#include "removal/quarantine/RestoreWindow.h"

#include <algorithm>
#include <optional>

#include "common/Text.h"
#include "removal/RemovalMessages.h"
#include "removal/quarantine/QuarantineRestore.h"
#include "ui/TimersHeld.h"

namespace bastion {

void frmRestore_Load(ui::FrmRestore& window, Quarantine& quarantine) {
    ui::ListView& list = window.lvwQuarantine;
    list.Clear();
    for (const QuarantineItem& item : quarantine.Items()) {
        const std::size_t row = list.Add(item.date);
        list.SetSubItem(row, 1, std::string(QuarantineKindName(item.kind)));
        list.SetSubItem(row, 2, item.originalLocation);
        list.SetTag(row, ToDecimal(static_cast<long long>(item.id)));
    }
}

void cmdRestore_Click(ui::FrmRestore& window, const RestoreWindowEnvironment& env) {
    ui::OperationGate::Operation operation = env.operations.TryBegin("restore");
    if (!operation) return;
    std::optional<ui::TimersHeld> held(std::in_place, env.enableShieldTimers);
    const ReplaceQuestion ask = [&env](const std::string& path) {
        return env.dialogs.MessageBox(path + "\r\n\r\n" + env.messages.getMessages(msg::kReplace), env.productName,
                                      ui::MsgButtons::YesNo, ui::MsgIcon::Question) == ui::MsgResult::Yes;
    };
    int restored = 0;
    int failed = 0;
    for (const QuarantineItem& item : env.quarantine.Items()) {
        const std::string id = ToDecimal(static_cast<long long>(item.id));
        const auto& rows = window.lvwQuarantine.Rows();
        const bool ticked = std::any_of(rows.begin(), rows.end(),
                                        [&id](const ui::ListItem& row) { return row.checked && row.tag == id; });
        if (!ticked) continue;
        switch (RestoreFromQuarantine(env.quarantine, env.registry, item, ask)) {
        case RestoreResult::Restored: ++restored; break;
        case RestoreResult::Failed: ++failed; break;
        case RestoreResult::Kept: break;
        }
    }
    held.reset();
    operation.Finish();
    frmRestore_Load(window, env.quarantine);
    std::string text = env.messages.getMessages(msg::kRestored) + " " + ToDecimal(restored);
    if (failed > 0) text += "\r\n" + env.messages.getMessages(msg::kNotRestored) + " " + ToDecimal(failed);
    env.dialogs.MessageBox(text, env.productName, ui::MsgButtons::Ok,
                           failed > 0 ? ui::MsgIcon::Exclamation : ui::MsgIcon::Information);
}

}  // namespace bastion
