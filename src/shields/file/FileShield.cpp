#include "shields/file/FileShield.h"

#include "common/PathParts.h"
#include "common/Text.h"
#include "definitions/Exclusions.h"
#include "definitions/SafetyListLoader.h"
#include "scan/content/ContentScan.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/files/FolderMatchers.h"
#include "services/operations/TimersHeld.h"
#include "services/settings/SettingKeys.h"
#include "services/waits/QuietPump.h"

namespace bastion {

namespace {

constexpr std::string_view kFileShieldOperation = "file shield";

bool WithinFolder(std::string_view path, std::string_view folder) {
    if (path.size() <= folder.size() || path[folder.size()] != '\\') return false;
    return EqualsIgnoreCase(path.substr(0, folder.size()), folder);
}

}  // namespace

FileShield::FileShield(FileShieldEnvironment environment)
    : env_(environment), queue_(environment.scan.files, environment.watcher, environment.scan.clock) {}

void FileShield::Apply() {
    const ScanEnvironment& scan = env_.scan;
    // The old watches end before new ones start, so that no folder is told
    // of twice.
    watches_.clear();
    folders_.clear();
    toWalk_.clear();
    if (!scan.settings.ReadTruth(services::settings::kOptFileShieldOn)) {
        queue_.Clear();
        hashes_.Clear();
        return;
    }
    for (ShieldFolder& folder : StoredShieldFolders(scan.settings, scan.shell, scan.system)) {
        folders_.push_back({std::move(folder), platform::WatchFailure::None});
    }
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        ShieldFolderState& state = folders_[i];
        if (!scan.files.FolderExists(state.folder.path)) {
            state.failure = platform::WatchFailure::NotFound;
            continue;
        }
        platform::WatchResult result =
            env_.watcher.Watch(state.folder.path, state.folder.subfolders,
                               [this, i](const platform::FolderChanges& changes) { OnChanges(i, changes); });
        state.failure = result.failure;
        if (result.watch) watches_.push_back(std::move(result.watch));
    }
}

void FileShield::OnChanges(std::size_t folderIndex, const platform::FolderChanges& changes) {
    if (folderIndex >= folders_.size()) return;
    ShieldFolderState& state = folders_[folderIndex];
    for (const std::string& path : changes.paths) {
        // What the program writes for itself (the quarantine among it) is
        // none of the shield's business.
        if (!WithinFolder(path, env_.scan.dataFolder)) queue_.Add(path);
    }
    if (changes.ended) {
        state.failure = platform::WatchFailure::Failed;
    } else if (changes.overflowed) {
        toWalk_.push_back(folderIndex);
    }
    if (Waiting() && onWaiting) onWaiting();
}

void FileShield::QueueContents(const std::string& folder, bool subfolders) {
    const std::optional<platform::DirListing> listing = env_.scan.files.ListDirectory(folder);
    if (!listing) return;
    for (const platform::DirEntry& entry : listing->entries) {
        if (entry.name == "." || entry.name == "..") continue;
        const bool isFolder = (entry.attributes & platform::kAttrDirectory) != 0;
        // A folder link leads elsewhere, perhaps back up the tree.
        if (isFolder && (!subfolders || (entry.attributes & platform::kAttrReparsePoint) != 0)) continue;
        queue_.Add(folder + "\\" + entry.name);
    }
}

bool FileShield::InWatchedTree(const std::string& path) const {
    for (const ShieldFolderState& state : folders_) {
        if (state.folder.subfolders && WithinFolder(path, state.folder.path)) return true;
    }
    return false;
}

void FileShield::CheckArrivals() {
    const ScanEnvironment& scan = env_.scan;
    if (!Waiting() || !scan.operations.Idle()) return;
    services::OperationGate::Operation operation =
        scan.operations.TryBegin(kFileShieldOperation, [this] { env_.alerts.Dismiss(); });
    if (!operation) return;
    const services::TimersHeld held(scan.background);
    const std::uint64_t deadline = scan.clock.Milliseconds() + kLookBudgetMs;
    behind_ = false;
    try {
        for (std::size_t index : std::exchange(toWalk_, {})) {
            if (index < folders_.size()) QueueContents(folders_[index].folder.path, folders_[index].folder.subfolders);
        }
        if (queue_.Empty() && hashes_.Empty()) return;
        if (!tokens_) tokens_ = PathTokens::Resolve(scan.shell);
        // The look takes no event: the window waits for at most one look.
        services::QuietPump quiet;
        ScanContext context{scan.files,     scan.codePage,   scan.system, scan.dataFolder, *tokens_,
                            scan.safety,    scan.exclusions, state_,      quiet,           scan.tables,
                            scan.registry,  scan.shell,      scan.processes};
        if (!PrepareLook(context)) return;
        for (const HashedArrival& hashed : hashes_.Look(context)) FinishHashed(context, hashed);
        // Each waiting path is looked at once a look at most: one that is
        // not complete goes to the back.
        for (std::size_t left = queue_.Size(); left > 0 && !scan.operations.Ending(); --left) {
            if (scan.clock.Milliseconds() >= deadline) {
                behind_ = true;
                break;
            }
            for (const Arrival& arrival : queue_.TakeComplete(1)) Check(context, arrival);
        }
    } catch (...) {
        // What was taken is lost; the rest waits for the next look.
    }
}

// The definitions a File Scan matches with, loaded once per run; the
// safety list comes first, as the tables leave out the rows it protects.
bool FileShield::PrepareLook(ScanContext& context) {
    if (!env_.scan.tables.Created()) {
        const bool stopRequested = false;
        LoadSafetyList(context.files, context.codePage, context.dataFolder, context.tokens, stopRequested,
                       env_.scan.safety);
    }
    return LoadDefinitions(context) && LoadContentDefinitions(context, false);
}

void FileShield::Check(ScanContext& context, const Arrival& arrival) {
    state_.Begin(silent_);
    if (arrival.IsFolder()) {
        MatchFoundDirectory(context, arrival.path + "\\");
        // Moved in whole: its files arrive with it, unnamed.
        if (InWatchedTree(arrival.path)) QueueContents(arrival.path, true);
    } else if (MatchFoundFile(context, arrival.path) || !ContentWanted(context, arrival)) {
        queue_.Checked(arrival);
    } else if (const std::optional<platform::FileStamp> stamp = context.files.Stamp(arrival.path)) {
        // Checked once its hash has ended.
        hashes_.Add(arrival, *stamp);
    }
    ActOnResults();
}

bool FileShield::ContentWanted(ScanContext& context, const Arrival& arrival) const {
    return context.tables.Content().HasSize(arrival.entry.size) && !ContentLiesElsewhere(arrival.entry.attributes) &&
           !context.safety.IsProtectedPath(arrival.path) && !context.exclusions.IsExcluded(arrival.path);
}

void FileShield::FinishHashed(ScanContext& context, const HashedArrival& hashed) {
    if (hashed.changed) {
        queue_.Add(hashed.arrival.path);
        return;
    }
    state_.Begin(silent_);
    if (hashed.match) ReportFoundContent(context, hashed.arrival.path, *hashed.match);
    queue_.Checked(hashed.arrival);
    ActOnResults();
}

void FileShield::ActOnResults() {
    const ScanResults results = state_.End();
    for (const Detection& detection : results.detections) Act(detection);
}

void FileShield::Act(const Detection& detection) {
    const ScanEnvironment& scan = env_.scan;
    if (scan.settings.ReadTruth(services::settings::kOptFileShieldQuarantine)) {
        if (Quarantine(detection)) env_.alerts.TellQuarantined(detection);
        return;
    }
    const std::string& path = detection.location;
    switch (env_.alerts.AskAboutFile(detection, FileNameOfPath(path), FolderOfPath(path))) {
    case FileAnswer::Quarantine: Quarantine(detection); break;
    case FileAnswer::Allow: {
        services::QuietPump quiet;
        AddExclusions(ExclusionFile{scan.files, scan.codePage, scan.dataFolder}, quiet, scan.exclusions,
                      ExclusionItems(detection));
        break;
    }
    case FileAnswer::NoAnswer: break;
    }
}

bool FileShield::Quarantine(const Detection& detection) {
    RemovalProgress progress;
    // A removal the user stopped leaves its flag for the next one, which
    // this is.
    env_.removal.ClearStop();
    const RemovalReport report = env_.removal.Remove({detection}, progress, false);
    if (report.removed > 0 && onRemoved) onRemoved();
    return report.removed > 0;
}

}  // namespace bastion
