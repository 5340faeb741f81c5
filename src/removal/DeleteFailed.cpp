// The commands of the "Delete Failed" window.
#include "common/Lines.h"
#include "common/PathParts.h"
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
        // A part of Windows stays whatever is asked.
        if (!problems.Item(row).tag.empty()) continue;
        const std::string path = problems.Item(row).text;
        // Folders and registry entries have no deletion at restart.
        if (!FileExists(env_.files, path)) continue;
        const std::string name = FileNameOfPath(path);
        std::optional<OpenQuarantineSlot> open = quarantine.EnsureFolder() ? quarantine.Reserve(name) : std::nullopt;
        const bool copied = open && quarantine.CopyFileInto(path, *open->file);
        std::optional<QuarantineSlot> slot;
        if (open) slot = open->slot;
        open.reset();
        // Recorded before the deletion is set: a copy that is not recorded
        // could never be put back.
        const bool recorded = copied && quarantine.Record(*slot, QuarantineKind::File, path);
        if (!recorded || !env_.files.DeleteAtRestart(path)) {
            if (slot && (!recorded || quarantine.Withdraw(slot->id))) quarantine.Release(*slot);
            ++refused;
            continue;
        }
        quarantine.LogFile(name, path + " (deleted at the next start of Windows)");
        problems.RemoveAt(row);
        ++scheduled;
    }
    std::string text;
    if (scheduled > 0) text = Message(msg::kDeleteAtRestart) + " " + ToDecimal(scheduled);
    if (refused > 0)
        text += (text.empty() ? "" : "\r\n\r\n") + Message(msg::kNotDeleteAtRestart) + " " + ToDecimal(refused);
    if (!text.empty()) {
        env_.dialogs.MessageBox(text, env_.identity.productName, services::MsgButtons::Ok,
                                refused > 0 ? services::MsgIcon::Exclamation : services::MsgIcon::Information);
    }
}

}  // namespace bastion
