// Putting stored items back: files, cookies and folders where they were
// taken from (missing folders above them created again, an existing file
// replaced only when the caller agrees), a folder link made again, registry
// values and keys from their backup files with their types and data. A
// restored item leaves the quarantine.
//
// Only what the quarantine itself writes is put back (RecordCheck): a
// record or backup another program changed is refused and nothing is
// touched. An item that goes back where it affects every user of the
// machine (anywhere outside the restoring user's own profile folder, the
// registry outside the user's own hive) is put back only when the caller
// agrees: a program running as the user could have planted it in the
// quarantine for an administrator's restore to install. A file, folder or
// link is written through the folders of its place opened one by one from
// the drive root down, none of them a link: a link on the way (there
// before, or put there after the question) refuses the item. A file that
// Windows is set to delete at its next start has that deletion taken back
// first.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/Shell.h"
#include "removal/files/FinalPlaces.h"
#include "removal/quarantine/Quarantine.h"

namespace bastion {

enum class RestoreResult {
    Restored,
    Kept,    // something is at the place and the caller chose not to replace it
    Failed,  // refused, or the stored copy is missing or unreadable, or writing failed
};

struct RestoreOutcome {
    RestoreResult result = RestoreResult::Failed;
    // Why it failed: the key of its message (RemovalMessages); empty otherwise.
    std::string_view reason;
};

// Asked with a path or registry location: true goes ahead.
using RestoreQuestion = std::function<bool(const std::string& location)>;

struct RestoreQuestions {
    // A file or folder exists at the place: replace it?
    RestoreQuestion replaceExisting;
    // The item goes back where it affects every user: put it back?
    RestoreQuestion machineWide;
};

// Where a change affects every user: anywhere outside the restoring user's
// own profile folder. Compared as text, which is sound because the restore
// writes through folders opened with no link on the way: the place it
// writes is the place the text names.
class MachineWidePlaces {
public:
    MachineWidePlaces(platform::FileSystem& files, platform::Shell& shell, const std::string& quarantineFolder);
    bool HoldsPath(const std::string& path) const;
    bool InQuarantine(const std::string& path) const;

private:
    // Lower-cased, without a trailing backslash; empty when the shell names
    // none (then every place is one of every user's).
    std::string profile_;
    FinalPlaces quarantine_;
};

RestoreOutcome RestoreFromQuarantine(Quarantine& quarantine, platform::Registry& registry,
                                     const MachineWidePlaces& places, const QuarantineItem& item,
                                     const RestoreQuestions& questions);

struct RestoreFailure {
    QuarantineItem item;
    // The key of its message (RemovalMessages).
    std::string_view reason;
};

struct RestoreSummary {
    int restored = 0;
    std::vector<RestoreFailure> failures;
};

// Puts back the chosen records, each only while the index still holds it
// as it was chosen: one that has left the index since (put back or taken
// back by another run) is passed over, and so is a record added later, even
// under a chosen id.
RestoreSummary RestoreChosen(Quarantine& quarantine, platform::Registry& registry, platform::Shell& shell,
                             const std::vector<QuarantineItem>& chosen, const RestoreQuestions& questions);

}  // namespace bastion
