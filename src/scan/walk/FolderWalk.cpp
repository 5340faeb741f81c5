#include "scan/walk/FolderWalk.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <memory>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

#include "common/Text.h"
#include "scan/content/ContentScan.h"
#include "scan/files/FolderMatchers.h"
#include "scan/walk/FolderListers.h"

namespace bastion {

namespace {

using platform::DirEntry;
using platform::FileIdentity;

bool IsFolder(const DirEntry& entry) { return (entry.attributes & platform::kAttrDirectory) != 0; }

// A junction, mount point or folder link leads to a folder that lies, and
// is walked, elsewhere: it is neither matched nor entered. (Hidden, system
// and read-only folders are folders like any other: AppData and ProgramData
// are hidden, the shell marks Documents and Desktop read-only.)
bool IsFolderLink(const DirEntry& entry) {
    return IsFolder(entry) && (entry.attributes & platform::kAttrReparsePoint) != 0;
}

struct IdentityHash {
    std::size_t operator()(const FileIdentity& id) const {
        std::uint64_t h = id.volumeSerial * 0x9E3779B97F4A7C15ull;
        h ^= id.indexHigh + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
        h ^= id.indexLow + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
        return static_cast<std::size_t>(h);
    }
};

// One folder being walked: its entries are done, its subfolders (in
// listing order) are walked one after the other.
struct Level {
    std::string folder;
    std::vector<std::string> subfolders;
    std::size_t next = 0;
    // The subfolders from next on that were asked for ahead, in order.
    std::deque<std::shared_ptr<FolderListers::Ticket>> ahead;
    // In the program's own data folder: its quarantine, whose files were
    // found before, is no place to find them again.
    bool ownData = false;

    std::string Subfolder(std::size_t index) const {
        std::string below = folder;
        below.append(subfolders[index]).push_back('\\');
        return below;
    }
    bool AllAsked() const { return next + ahead.size() >= subfolders.size(); }
};

// The walk keeps its own stack of levels rather than recursing: a folder
// tree can be deeper (thousands of levels in the long-path form) than the
// thread's stack would allow frames for. With listing threads, the folders
// it will enter next are listed ahead (those of the deepest level first,
// as it enters them), while this thread examines what is listed: the
// entries, the identity check and the progress stay in this thread and in
// the order of a walk without them.
class Walk {
public:
    Walk(ScanContext& context, ByteProgress* progress, int threads)
        : context_(context), progress_(progress), listers_(context.files, context.state, threads) {}

    void Run(const std::string& top) {
        std::vector<Level> levels;
        if (auto first = Enter(top, listers_.List(top))) Push(levels, std::move(*first));
        while (!levels.empty()) {
            Level& level = levels.back();
            if (level.next < level.subfolders.size() && !Stopped()) {
                std::string below = level.Subfolder(level.next++);
                std::optional<platform::DirListing> listing;
                if (level.ahead.empty()) {
                    listing = listers_.List(below);
                } else {
                    listing = listers_.Take(level.ahead.front());
                    level.ahead.pop_front();
                }
                if (auto entered = Enter(std::move(below), std::move(listing))) Push(levels, std::move(*entered));
                AskAhead(levels);
                continue;
            }
            context_.state.ShowCounters();
            if (!open_.empty() && open_.back() == levels.size() - 1) open_.pop_back();
            levels.pop_back();
        }
    }

private:
    bool Stopped() const { return context_.state.StopRequested(); }

    void Push(std::vector<Level>& levels, Level level) {
        levels.push_back(std::move(level));
        if (!levels.back().subfolders.empty()) open_.push_back(levels.size() - 1);
        AskAhead(levels);
    }

    // Keeps the listing threads busy with the folders entered soonest: the
    // deepest level's subfolders not yet asked for, then the level's above.
    void AskAhead(std::vector<Level>& levels) {
        while (listers_.HasRoom() && !open_.empty()) {
            Level& level = levels[open_.back()];
            if (level.AllAsked()) {
                open_.pop_back();
                continue;
            }
            level.ahead.push_back(listers_.Ask(level.Subfolder(level.next + level.ahead.size()), open_.back()));
        }
    }

    // Examines the entries of a folder as listed; nothing when it could not
    // be listed, was entered before in this walk, or the scan was stopped.
    std::optional<Level> Enter(std::string folder, std::optional<platform::DirListing> listing) {
        if (!listing) return std::nullopt;
        if (!FirstVisit(listing->identity, folder)) return std::nullopt;
        if (Stopped()) return std::nullopt;

        Level level{std::move(folder), {}, 0, {}, false};
        level.ownData = InDataFolder(level.folder);
        for (DirEntry& entry : listing->entries) {
            Examine(level, entry);
            if (Stopped()) break;
            context_.pump.Pump();
            // Stop pressed while the window had its turn: no further entry.
            if (Stopped()) break;
        }
        return level;
    }

    // Whether the walk enters this folder for the first time. A folder index
    // of 0 is no identity: file systems that know none (some network shares)
    // report it for every folder, and the walk would end after the first. The
    // path stands in for such a folder, and for one without identity.
    bool FirstVisit(const FileIdentity& identity, const std::string& folder) {
        if (identity.valid && (identity.indexHigh != 0 || identity.indexLow != 0)) {
            return entered_.insert(identity).second;
        }
        return enteredPaths_.insert(ToLower(folder)).second;
    }

    bool InDataFolder(const std::string& folder) const {
        const std::string& data = context_.dataFolder;
        return !data.empty() && folder.size() > data.size() && folder[data.size()] == '\\' &&
               EqualsIgnoreCase(std::string_view(folder).substr(0, data.size()), data);
    }

    void Examine(Level& level, DirEntry& entry) {
        if (IsFolderLink(entry)) return;
        path_.assign(level.folder).append(entry.name);
        const bool folder = IsFolder(entry);
        if (folder) {
            path_.push_back('\\');
            MatchFoundDirectory(context_, path_);
        } else {
            // A file its name did not give away may be known by its content.
            if (!MatchFoundFile(context_, path_) && !level.ownData) MatchFoundContent(context_, path_, entry);
            if (progress_) progress_->Add(entry.size);
        }
        CountOne(context_.state.counters.filesInspected);
        status_.assign(kScanningPrefix).append(level.folder).append("\r\n").append(entry.name);
        context_.state.ShowProgress(status_, 0, 0);
        if (folder) level.subfolders.push_back(std::move(entry.name));
    }

    ScanContext& context_;
    ByteProgress* progress_;
    FolderListers listers_;
    // The levels (by index) that have subfolders not yet asked for, the
    // deepest last.
    std::vector<std::size_t> open_;
    std::unordered_set<FileIdentity, IdentityHash> entered_;
    std::unordered_set<std::string> enteredPaths_;
    // Reused for every entry: the walk builds two texts per file.
    std::string path_;
    std::string status_;
};

}  // namespace

ByteProgress::ByteProgress(ScanProgress& progress, std::uint64_t expectedBytes)
    : progress_(progress), expected_(static_cast<double>(expectedBytes)) {
    progress_.Walked(0, expected_);
}

void ByteProgress::Add(std::uint64_t bytes) {
    if (bytes == 0) return;
    met_ = bytes > std::numeric_limits<std::uint64_t>::max() - met_ ? std::numeric_limits<std::uint64_t>::max()
                                                                     : met_ + bytes;
    progress_.Walked(std::min(static_cast<double>(met_), expected_), expected_);
}

void ByteProgress::Finish() { progress_.Walked(expected_, expected_); }

void WalkFolder(ScanContext& context, const std::string& folder, ByteProgress* progress, int threads) {
    Walk(context, progress, threads).Run(folder);
}

}  // namespace bastion
