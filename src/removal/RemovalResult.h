// How the removal of each detection went; the console prints these as
// "removed", "not found" and "failed", the window lists the failures in
// "Delete Failed" and the report tells what an automatic removal did.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scan/results/Detection.h"

namespace bastion {

enum class RemovalResult {
    NotTried,  // the removal stopped before it
    Removed,   // stored in the quarantine (or backed up), recorded, deleted, logged
    NotFound,  // not where the scan saw it any more: nothing was removed
    Failed,    // still there, or refused
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

struct RemovedItem {
    // The detection removed; 0 for a COM class registration that names a
    // removed server file and could not go with it.
    DetectionId detection = 0;
    // The path, or the registry location as the results show it.
    std::string location;
    RemovalResult result = RemovalResult::NotTried;
    RemovalNote note = RemovalNote::None;
};

struct RemovalReport {
    // False when nothing ran: another operation, nothing chosen, or No.
    bool ran = false;
    // One item per detection removed, files and folders first, then
    // registry entries, then cookies, each in the order found; then the COM
    // class registrations that could not be removed.
    std::vector<RemovedItem> items;
    int removed = 0;
    int failed = 0;
    int notFound = 0;
    bool restorePointMade = false;

    // How it went for the detection; NotTried when the removal had none of
    // it.
    RemovalResult ResultOf(DetectionId detection) const;
};

}  // namespace bastion
