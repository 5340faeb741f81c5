// The commands of the "Delete Failed" window.
#include "common/Lines.h"
#include "common/Text.h"
#include "removal/RemovalEngine.h"
#include "removal/RemovalMessages.h"
#include "removal/quarantine/Quarantine.h"
#include "platform/FileExistence.h"

namespace bastion {

void RemovalEngine::Command2_Click() {
    std::string text;
    for (const ui::ListItem& row : deleteFailed.lstProblem.Rows()) {
        text += row.text;
        text += kCrLf;
    }
    env_.shell.SetClipboardText(text);
}

void RemovalEngine::cmdDeleteAtRestart_Click() {
    Quarantine quarantine(env_.files, env_.codePage, env_.clock, env_.dataFolder);
    int scheduled = 0;
    int refused = 0;
    ui::ListView& problems = deleteFailed.lstProblem;
    for (std::size_t row = problems.Count(); row-- > 0;) {
        const std::string path = problems.Item(row).text;
        // Folders and registry entries have no deletion at restart.
        if (!FileExists(env_.files, path)) continue;
        const std::string name = path.substr(path.rfind('\\') + 1);
        QuarantineSlot slot = quarantine.Reserve(name);
        const bool copied = quarantine.EnsureFolder() && env_.files.CopyFile(path, slot.path, false) &&
                            env_.files.FileSize(slot.path) == env_.files.FileSize(path);
        if (!copied || !env_.files.DeleteAtRestart(path)) {
            env_.files.SetAttributes(slot.path, platform::kAttrNormal);
            env_.files.DeleteFile(slot.path);
            ++refused;
            continue;
        }
        quarantine.LogFile(name, path + " (deleted at the next start of Windows)");
        quarantine.Record(slot, QuarantineKind::File, path);
        problems.RemoveAt(row);
        ++scheduled;
    }
    std::string text;
    if (scheduled > 0) text = Message(msg::kDeleteAtRestart) + " " + ToDecimal(scheduled);
    if (refused > 0) text += (text.empty() ? "" : "\r\n\r\n") + Message(msg::kNotDeleteAtRestart) + " " + ToDecimal(refused);
    if (!text.empty()) {
        env_.dialogs.MessageBox(text, env_.identity.productName, ui::MsgButtons::Ok,
                                refused > 0 ? ui::MsgIcon::Exclamation : ui::MsgIcon::Information);
    }
}

}  // namespace bastion
