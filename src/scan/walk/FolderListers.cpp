#include "scan/walk/FolderListers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <system_error>

namespace bastion {

namespace {

// How often a held thread looks whether the pause is over: well within
// the 100 ms in which the scan is to go on.
constexpr std::chrono::milliseconds kHeldLook{10};

// How often the walk gives its processor away before it sleeps until the
// folder it needs is listed.
constexpr int kYieldsBeforeSleep = 50;

}  // namespace

int WalkThreads(int asked) {
    if (asked <= 0) {
        const unsigned processors = std::thread::hardware_concurrency();
        asked = processors == 0 ? 1 : static_cast<int>(std::min<unsigned>(processors, kMostWalkThreads));
    }
    return std::clamp(asked, 1, kMostWalkThreads);
}

class FolderListers::Ticket {
public:
    enum class Stage { Waiting, Listing };

    Ticket(std::string path, Place at) : folder(std::move(path)), place(at) {}

    const std::string folder;
    const Place place;
    Stage stage = Stage::Waiting;
    std::optional<platform::DirListing> listing;
    // Set once listing is filled; read by the walk without the lock.
    std::atomic<bool> listed{false};
};

FolderListers::FolderListers(platform::FileSystem& files, const ScanState& state, int threads)
    : files_(files), state_(state) {
    if (threads < 2) return;
    capacity_ = kAhead;
    for (int t = 0; t < threads; ++t) {
        try {
            threads_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            // Fewer threads list ahead, or none: the walk lists what no
            // thread took.
            break;
        }
    }
}

FolderListers::~FolderListers() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    work_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

// Under Wine every wake of a waiting thread is a round trip to the Wine
// server, dearer than listing a small folder: a thread is woken only when
// it waits, and the walk only for the folder it waits for.
std::shared_ptr<FolderListers::Ticket> FolderListers::Ask(std::string folder, std::size_t depth) {
    auto ticket = std::make_shared<Ticket>(std::move(folder),
                                           Place{std::numeric_limits<std::size_t>::max() - depth, asked_++});
    ++outstanding_;
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waiting_.emplace(ticket->place, ticket);
        wake = idle_ > 0;
    }
    if (wake) work_.notify_one();
    return ticket;
}

std::optional<platform::DirListing> FolderListers::Take(const std::shared_ptr<Ticket>& ticket) {
    --outstanding_;
    std::unique_lock<std::mutex> lock(mutex_);
    if (ticket->stage == Ticket::Stage::Waiting) {
        waiting_.erase(ticket->place);
        ticket->stage = Ticket::Stage::Listing;
        lock.unlock();
        return ListSafely(ticket->folder);
    }
    // While a thread lists the folder, the walk lists the next that waits
    // rather than sleep until woken (a wake costs more than a small
    // listing under Wine, where it is a round trip to the Wine server);
    // with nothing left to list it gives its processor away a while first.
    int yields = 0;
    while (!ticket->listed.load(std::memory_order_acquire)) {
        if (!waiting_.empty()) {
            std::shared_ptr<Ticket> other = std::move(waiting_.begin()->second);
            waiting_.erase(waiting_.begin());
            other->stage = Ticket::Stage::Listing;
            lock.unlock();
            Finish(*other, ListSafely(other->folder));
            lock.lock();
        } else if (yields++ < kYieldsBeforeSleep) {
            lock.unlock();
            std::this_thread::yield();
            lock.lock();
        } else {
            awaited_ = ticket.get();
            listed_.wait(lock, [&ticket] { return ticket->listed.load(std::memory_order_acquire); });
            awaited_ = nullptr;
        }
    }
    return std::move(ticket->listing);
}

std::optional<platform::DirListing> FolderListers::List(const std::string& folder) { return ListSafely(folder); }

void FolderListers::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!ending_) {
        // Paused or stopped: no further folder, however many wait.
        if (state_.PauseRequested() || state_.StopRequested()) {
            work_.wait_for(lock, kHeldLook);
            continue;
        }
        if (waiting_.empty()) {
            ++idle_;
            work_.wait(lock);
            --idle_;
            continue;
        }
        std::shared_ptr<Ticket> ticket = std::move(waiting_.begin()->second);
        waiting_.erase(waiting_.begin());
        ticket->stage = Ticket::Stage::Listing;
        lock.unlock();
        Finish(*ticket, ListSafely(ticket->folder));
        lock.lock();
        if (awaited_ == ticket.get()) listed_.notify_one();
    }
}

void FolderListers::Finish(Ticket& ticket, std::optional<platform::DirListing> listing) {
    ticket.listing = std::move(listing);
    ticket.listed.store(true, std::memory_order_release);
}

// A listing that fails in any way is a folder that cannot be listed, and
// no exception may end a listing thread (that would end the program).
std::optional<platform::DirListing> FolderListers::ListSafely(const std::string& folder) {
    try {
        return files_.ListDirectory(folder);
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace bastion
