// The arrivals whose content the shield hashes on workers, so that the
// window never waits for a large file to be read: each waits its turn (a
// few hashes run at once, not a thread for every file of a burst) and is
// asked again at every look until its hash has ended. A file written again
// meanwhile is handed back as changed: it arrives anew, and is checked
// once it is complete again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "scan/ScanContext.h"
#include "scan/content/ContentVerdicts.h"
#include "shields/file/ArrivalQueue.h"

namespace bastion {

struct HashedArrival {
    Arrival arrival;
    // It changed since it was taken: nothing is said of its content.
    bool changed = false;
    // The content definition it holds; it lies in the content table.
    std::optional<ContentTable::Match> match;
};

class ArrivalHashes {
public:
    static constexpr std::size_t kAtOnce = 2;

    // The arrival, as it is now (its stamp given), waits for its hash,
    // unless it waits already: then its next look tells whether it changed.
    void Add(const Arrival& arrival, const platform::FileStamp& stamp);
    bool Empty() const { return waiting_.empty(); }
    // Abandons every hash.
    void Clear();

    // One look: the hashes that ended, and the arrivals that changed,
    // handed out; more hashes started while fewer than kAtOnce run. A file
    // gone meanwhile is dropped.
    std::vector<HashedArrival> Look(ScanContext& context);

private:
    struct Waiting {
        Arrival arrival;
        std::string key;
        platform::FileStamp stamp;
        bool started = false;
    };
    // In the order they came; those started come first.
    std::vector<Waiting> waiting_;
    // The lower-cased paths that wait.
    std::unordered_set<std::string> keys_;
    ContentVerdicts verdicts_;
};

}  // namespace bastion
