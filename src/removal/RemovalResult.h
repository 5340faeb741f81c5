// How the removal of one item went.
#pragma once

namespace bastion {

enum class RemovalResult {
    NotTried,  // the removal stopped before it
    Removed,   // stored in the quarantine (or backed up), deleted, logged
    Gone,      // nothing there to remove any more
    Failed,    // still there: listed in "Delete Failed", its row stays
};

}  // namespace bastion
