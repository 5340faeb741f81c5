#include "removal/RemovalMessages.h"

namespace bastion {

void FillRemovalMessages(ui::MessageCatalogue& catalogue) {
    // A count, or the path in question, follows each.
    catalogue.setMessage(msg::kNotRemoved, "Items that could not be removed (they stay in the list):");
    catalogue.setMessage(msg::kNoRestorePoint,
                         "No restore point could be made; everything removed is kept in the quarantine.");
    catalogue.setMessage(msg::kReplace, "This already exists. Replace it with the copy kept in the quarantine?");
    catalogue.setMessage(msg::kRestored, "Items put back:");
    catalogue.setMessage(msg::kNotRestored, "Items that could not be put back:");
    catalogue.setMessage(msg::kDeleteAtRestart, "Files to be deleted when Windows next starts:");
    catalogue.setMessage(msg::kNotDeleteAtRestart,
                         "Files that could not be set to be deleted at the next start (that needs administrator "
                         "rights):");
}

}  // namespace bastion
