#include "scan/walk/Walker.h"

#include "scan/content/ContentScan.h"
#include "scan/files/FolderMatchers.h"
#include "scan/walk/FolderWalk.h"

namespace bastion {

namespace {

// Every path the walk builds is the folder followed by a name: without the
// separator "C:" and a name would make a path relative to the drive's
// current folder.
std::string AsFolder(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path;
    return path + '\\';
}

std::string ScanningText(std::string_view item) {
    std::string text(kScanningPrefix);
    return text.append(item);
}

}  // namespace

void ScanDrive(ScanContext& context, const std::string& root, int threads) {
    const std::string folder = AsFolder(root);
    // No medium, or a drive that is not ready: skipped without a word.
    if (!context.files.GetVolumeInfo(folder)) return;
    const std::optional<platform::DriveSpace> space = context.files.GetDriveSpace(folder);
    const std::uint64_t used = space && space->free <= space->total ? space->total - space->free : 0;
    ByteProgress progress(context.state.Progress(), used);
    WalkFolder(context, folder, &progress, threads);
    progress.Finish();
}

void ScanFolder(ScanContext& context, const std::string& folder, int threads) {
    const std::string top = AsFolder(folder);
    ScanProgress& progress = context.state.Progress();
    progress.Walked(0, 100);
    // The folder chosen is itself a candidate, before anything in it.
    MatchFoundDirectory(context, top);
    CountOne(context.state.counters.filesInspected);
    context.state.ShowProgress(ScanningText(top), 0, 0);
    WalkFolder(context, top, nullptr, threads);
    progress.Walked(100, 100);
}

void ScanFile(ScanContext& context, const std::string& path) {
    ScanProgress& progress = context.state.Progress();
    progress.Walked(0, 1);
    // A look-up of a name with wildcards would give another file's entry.
    if (!MatchFoundFile(context, path) && path.find_first_of("*?") == std::string::npos) {
        if (const std::optional<platform::DirEntry> entry = context.files.Lookup(path)) {
            if ((entry->attributes & platform::kAttrDirectory) == 0) MatchFoundContent(context, path, *entry);
        }
    }
    CountOne(context.state.counters.filesInspected);
    context.state.ShowProgressNow(ScanningText(path), 0, 0);
    progress.Walked(1, 1);
}

}  // namespace bastion
