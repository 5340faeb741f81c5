// Folders listed ahead of a walk by a few threads of their own. Listing is
// most of a walk's time, and mostly waiting for the disk (under Wine also
// a host call per entry), which other threads can do while the walk's own
// thread matches what is already listed. The listing threads only list:
// what a listing means (matching, counting, the folder-identity check,
// progress) stays with the walk, in its own order, so a walk with them
// finds exactly what a walk without them finds.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"
#include "scan/state/ScanState.h"

namespace bastion {

// The listing threads a walk uses when the options ask for them (0): as
// many as the processor runs at once, at most kMostWalkThreads. A number
// asked for is held to 1 .. kMostWalkThreads; 1 is no listing thread at all.
inline constexpr int kMostWalkThreads = 4;
int WalkThreads(int asked);

class FolderListers {
public:
    // A folder asked for: listed by a listing thread, or by the walk when
    // it needs it before any thread took it.
    class Ticket;

    // threads below 2: no listing thread; every folder is listed when the
    // walk takes it. The threads take no folder while the scan is paused
    // and stop at its stop request.
    FolderListers(platform::FileSystem& files, const ScanState& state, int threads);
    // Waits for the threads, which finish at most the listing each is in.
    ~FolderListers();
    FolderListers(const FolderListers&) = delete;
    FolderListers& operator=(const FolderListers&) = delete;

    // Whether another folder may be asked for ahead: the folders asked for
    // and not yet taken, listed or not, are bounded, and so is what their
    // listings hold.
    bool HasRoom() const { return outstanding_ < capacity_; }

    // Asks for the folder (a path ending in "\") to be listed ahead. The
    // threads list the deepest folder first, and of those the one asked
    // for first: the order a walk that enters subfolders before the
    // siblings of their parents needs them in.
    std::shared_ptr<Ticket> Ask(std::string folder, std::size_t depth);
    // The listing of a folder asked for: listed here when no thread has
    // started it; while a thread lists it, this thread lists other folders
    // that wait, then waits.
    std::optional<platform::DirListing> Take(const std::shared_ptr<Ticket>& ticket);
    // Lists a folder here and now.
    std::optional<platform::DirListing> List(const std::string& folder);

    // Folders asked for and not taken, at most.
    static constexpr std::size_t kAhead = 64;

private:
    void Work();
    static void Finish(Ticket& ticket, std::optional<platform::DirListing> listing);
    std::optional<platform::DirListing> ListSafely(const std::string& folder);

    platform::FileSystem& files_;
    const ScanState& state_;
    std::size_t capacity_ = 0;
    // Only the walk's thread asks and takes.
    std::size_t outstanding_ = 0;

    std::mutex mutex_;
    // The listing threads wait on work_ for a folder, the walk on listed_
    // for the one it needs.
    std::condition_variable work_;
    std::condition_variable listed_;
    int idle_ = 0;
    const Ticket* awaited_ = nullptr;
    // By depth, deepest first, then by the order asked.
    using Place = std::pair<std::size_t, std::uint64_t>;
    std::map<Place, std::shared_ptr<Ticket>> waiting_;
    std::uint64_t asked_ = 0;
    bool ending_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace bastion
