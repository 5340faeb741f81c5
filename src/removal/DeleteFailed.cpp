// Deleting at the next start of Windows what the removal could not delete.
#include "common/PathParts.h"
#include "platform/FileExistence.h"
#include "removal/RemovalEngine.h"
#include "removal/quarantine/Quarantine.h"

namespace bastion {

RestartDeletion RemovalEngine::DeleteAtNextRestart(const std::string& path) {
    // Folders and registry entries have no deletion at restart.
    if (!FileExists(env_.files, path)) return RestartDeletion::NoFile;
    Quarantine quarantine(env_.files, env_.codePage, env_.clock, env_.dataFolder);
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
        return RestartDeletion::Refused;
    }
    quarantine.LogFile(name, path + " (deleted at the next start of Windows)");
    return RestartDeletion::Scheduled;
}

}  // namespace bastion
