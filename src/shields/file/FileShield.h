// The file shield: new threats are caught the moment they land. It watches
// the folders of its list (ShieldFolders.h) and checks every file created,
// written or renamed into them once it is complete (ArrivalQueue.h), as a
// File Scan checks a file: the file and folder definitions with the folder
// the file lies in, the content definitions by size then hash, the safety
// list and the exclusions. A folder that arrives is checked against the
// folder definitions and its files are queued.
//
// What matches is put to the user in an alert ("Quarantine", "Allow"), or,
// with "optFileShieldQuarantine" set, put in the quarantine at once with a
// notice. Either way a file quarantined counts among the items removed and
// is in the quarantine log the scan report quotes; "Allow" puts it on the
// exclusion list as the results page's Exclude does.
//
// The watching waits elsewhere and costs nothing while nothing arrives.
// Arrivals are only queued as they come; the checks are background work
// on the front end's timer, held off while a scan, a removal or any other
// operation runs, and caught up afterwards from the queue. The window never
// waits long: a look works for at most kLookBudgetMs (the next one comes
// kBehindIntervalMs later when it left complete files unchecked, and
// kLookIntervalMs later when only files being written or hashed wait), and
// a file whose size a content definition has is hashed on a worker
// (ArrivalHashes.h) and finished at a later look. When Windows lost changes
// (its buffer overflowed) the folder is walked again, and files unchanged
// since their check are not checked twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "definitions/PathTokens.h"
#include "platform/FolderWatcher.h"
#include "removal/RemovalEngine.h"
#include "scan/ScanEngine.h"
#include "shields/file/ArrivalHashes.h"
#include "shields/file/ArrivalQueue.h"
#include "shields/file/FileShieldAlerts.h"
#include "shields/file/ShieldFolders.h"

namespace bastion {

struct FileShieldEnvironment {
    // The program's services and the scan's tables and lists (the scan's
    // own state the shield leaves alone).
    const ScanEnvironment& scan;
    platform::FolderWatcher& watcher;
    RemovalEngine& removal;
    FileShieldAlerts& alerts;
};

// A folder of the list, and whether it is watched.
struct ShieldFolderState {
    ShieldFolder folder;
    // None while it is watched; why not otherwise.
    platform::WatchFailure failure = platform::WatchFailure::None;
};

class FileShield {
public:
    static constexpr unsigned kLookIntervalMs = 250;
    static constexpr unsigned kBehindIntervalMs = 20;
    static constexpr std::uint64_t kLookBudgetMs = 30;

    explicit FileShield(FileShieldEnvironment environment);
    FileShield(const FileShield&) = delete;
    FileShield& operator=(const FileShield&) = delete;

    // Watches the folders the settings list while "optFileShieldOn" is
    // true, and nothing otherwise: at the end of the start-up and after
    // every change of the options. Arrivals that wait stay queued while it
    // goes on watching.
    void Apply();
    const std::vector<ShieldFolderState>& Folders() const { return folders_; }

    // One look (the front end's timer): when no operation runs, walks the
    // folders whose changes were lost, finishes the arrivals whose hashes
    // have ended, and checks the arrivals that are complete until
    // kLookBudgetMs have passed.
    void CheckArrivals();
    // Something waits to be looked at.
    bool Waiting() const { return !queue_.Empty() || !toWalk_.empty() || !hashes_.Empty(); }
    // The next look is due this long after the last one: soon when the
    // last ran out of time before it had looked at every arrival.
    unsigned NextLookMs() const { return behind_ ? kBehindIntervalMs : kLookIntervalMs; }

    // Something arrived and waits: the front end's timer is to run
    // CheckArrivals until nothing waits.
    std::function<void()> onWaiting;
    // A file went to the quarantine: the home page's figures changed.
    std::function<void()> onRemoved;

private:
    void OnChanges(std::size_t folderIndex, const platform::FolderChanges& changes);
    // The entries of a folder queued, and its subfolders when asked.
    void QueueContents(const std::string& folder, bool subfolders);
    bool InWatchedTree(const std::string& path) const;
    bool PrepareLook(ScanContext& context);
    void Check(ScanContext& context, const Arrival& arrival);
    // Whether the file's content is to be hashed: a content definition has
    // its size, and it is neither elsewhere, protected nor excluded.
    bool ContentWanted(ScanContext& context, const Arrival& arrival) const;
    void FinishHashed(ScanContext& context, const HashedArrival& hashed);
    // What the shield's results hold now, acted on.
    void ActOnResults();
    void Act(const Detection& detection);
    bool Quarantine(const Detection& detection);

    FileShieldEnvironment env_;
    std::vector<ShieldFolderState> folders_;
    std::vector<std::unique_ptr<platform::FolderWatch>> watches_;
    ArrivalQueue queue_;
    ArrivalHashes hashes_;
    bool behind_ = false;
    // The folders to walk again, by index into folders_.
    std::vector<std::size_t> toWalk_;
    // The shield's own results: what it finds is no scan's.
    ScanState state_;
    ScanProgress silent_;
    std::optional<PathTokens> tokens_;
};

}  // namespace bastion
