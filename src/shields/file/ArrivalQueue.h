// The files that arrived in the watched folders and wait to be checked:
// each path once however often Windows names it (an archive unpacked names
// every file several times), taken only once it is complete, and not again
// while it stays as it was when it was checked.
//
// Complete means that whoever wrote the file has finished: it can be opened
// for reading with no writer, or its size has held for kHeldMs between two
// looks, for a writer that keeps it open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/FolderWatcher.h"

namespace bastion {

struct Arrival {
    std::string path;
    platform::DirEntry entry;
    bool IsFolder() const { return (entry.attributes & platform::kAttrDirectory) != 0; }
};

class ArrivalQueue {
public:
    static constexpr std::uint64_t kHeldMs = 1000;

    ArrivalQueue(platform::FileSystem& files, platform::FolderWatcher& watcher, platform::Clock& clock)
        : files_(files), watcher_(watcher), clock_(clock) {}

    // Queued at the back unless the path waits already.
    void Add(const std::string& path);
    bool Empty() const { return waiting_.empty(); }
    // Nothing waits (what was checked is still remembered).
    void Clear() {
        waiting_.clear();
        queued_.clear();
    }
    std::size_t Size() const { return waiting_.size(); }

    // One look at up to most waiting paths, from the front: those complete
    // now are handed out (a folder at once), those gone or unchanged since
    // their last check are dropped, the others go to the back for the next
    // look.
    std::vector<Arrival> TakeComplete(std::size_t most);

    // The file was checked as it is now: until it changes, naming it again
    // queues it for nothing.
    void Checked(const Arrival& arrival);

private:
    struct Waiting {
        std::string path;
        std::string key;
        std::optional<std::uint64_t> size;
        // When the file was first seen at that size.
        std::uint64_t sizeSince = 0;
    };
    // What a file is now, for telling whether it changed.
    platform::FileStamp StampOf(const Arrival& arrival);
    bool Complete(Waiting& waiting, const Arrival& arrival, std::uint64_t now);

    platform::FileSystem& files_;
    platform::FolderWatcher& watcher_;
    platform::Clock& clock_;
    std::deque<Waiting> waiting_;
    // The lower-cased paths that wait.
    std::unordered_set<std::string> queued_;
    // The lower-cased paths checked, as they were then; forgotten when it
    // grows large, which costs one more check of a file named again.
    std::unordered_map<std::string, platform::FileStamp> checked_;
};

}  // namespace bastion
