// How the removal of one item went; the console prints these as "removed",
// "not found" and "failed".
#pragma once

#include <string_view>

namespace bastion {

enum class RemovalResult {
    NotTried,  // the removal stopped before it
    Removed,   // stored in the quarantine (or backed up), recorded, deleted, logged
    NotFound,  // not where the scan saw it any more: nothing was removed, its row stays
    Failed,    // still there, or refused: listed in "Delete Failed", its row stays
};

// What a result says beyond its word, whatever a definition asked for.
enum class RemovalNote {
    None,
    // A part of Windows (a program that must keep running, a key or a
    // service Windows needs to start): not removed.
    PartOfWindows,
    // A setting Windows needs: backed up, then set back to its Windows
    // default instead of deleted.
    WindowsDefault,
};

// "removed", "not found" or "failed" (an item not tried was not removed).
std::string_view RemovalResultWord(RemovalResult result);

}  // namespace bastion
