#include "removal/RemovalMessages.h"

namespace bastion {

void FillRemovalMessages(services::MessageCatalogue& catalogue) {
    // A count, or the path in question, follows each.
    catalogue.setMessage(msg::kNotRemoved, "Items that could not be removed (they stay in the list):");
    catalogue.setMessage(msg::kNotFound, "Items no longer where the scan found them (they stay in the list):");
    catalogue.setMessage(msg::kNoRestorePoint,
                         "No restore point could be made; everything removed is kept in the quarantine.");
    catalogue.setMessage(msg::kReplace, "This already exists. Replace it with the copy kept in the quarantine?");
    catalogue.setMessage(msg::kRestored, "Items put back:");
    catalogue.setMessage(msg::kNotRestored, "Items that could not be put back:");
    catalogue.setMessage(msg::kDeleteAtRestart, "Files to be deleted when Windows next starts:");
    catalogue.setMessage(msg::kNotDeleteAtRestart,
                         "Files that could not be set to be deleted at the next start (that needs administrator "
                         "rights):");
    catalogue.setMessage(msg::kRestoreMachineWide,
                         "This item goes back where it affects every user of this computer. Put it back only if "
                         "you removed it yourself. Put it back?");
    catalogue.setMessage(msg::kRestoreBadRecord,
                         "its record is not one the quarantine writes (changed by another program?); nothing was "
                         "changed");
    catalogue.setMessage(msg::kRestoreBadBackup,
                         "its backup holds registry entries outside the place it was taken from; nothing was "
                         "changed");
    catalogue.setMessage(msg::kRestoreNoCopy, "its copy in the quarantine is missing or cannot be read");
    catalogue.setMessage(msg::kRestorePendingDelete,
                         "Windows is set to delete this file when it next starts, and that could not be taken back "
                         "(that needs administrator rights)");
    catalogue.setMessage(msg::kRestoreNotWritten, "it could not be written back");
    catalogue.setMessage(msg::kRestoreNotAgreed, "it goes back where it affects every user, which was not agreed to");
    catalogue.setMessage(msg::kRestoreThroughLink,
                         "a folder on its way is a link (a junction or symbolic link) or could not be opened; nothing "
                         "was put back");
    catalogue.setMessage(msg::kPartOfWindows, "a part of Windows; not removed");
    catalogue.setMessage(msg::kWindowsDefault, "set back to the Windows default");
}

std::string_view RemovalNoteKey(RemovalNote note) {
    switch (note) {
    case RemovalNote::PartOfWindows: return msg::kPartOfWindows;
    case RemovalNote::WindowsDefault: return msg::kWindowsDefault;
    case RemovalNote::None: break;
    }
    return {};
}

}  // namespace bastion
