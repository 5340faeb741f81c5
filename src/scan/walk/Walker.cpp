#include "scan/walk/Walker.h"

#include "scan/content/ContentScan.h"
#include "scan/files/FolderMatchers.h"
#include "scan/walk/FolderWalk.h"
#include "scan/state/ScanProgress.h"

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

void ScanDrive(ScanContext& context, const std::string& root) {
    const std::string folder = AsFolder(root);
    // No medium, or a drive that is not ready: skipped without a word.
    if (!context.files.GetVolumeInfo(folder)) return;
    ui::FrmMain& form = context.state.Form();
    const std::optional<platform::DriveSpace> space = context.files.GetDriveSpace(folder);
    const std::uint64_t used = space && space->free <= space->total ? space->total - space->free : 0;
    ByteProgress progress(form.pbgMain, used);
    form.lblStatus.SetVisible(true);
    WalkFolder(context, folder, &progress);
    form.pbgMain.SetValue(form.pbgMain.Max());
}

void ScanFolder(ScanContext& context, const std::string& folder) {
    const std::string top = AsFolder(folder);
    ui::FrmMain& form = context.state.Form();
    form.pbgMain.SetMax(100);
    form.pbgMain.SetValue(0);
    form.lblStatus.SetVisible(true);
    // The folder chosen is itself a candidate, before anything in it.
    MatchFoundDirectory(context, top);
    CountOne(context.state.counters.filesInspected);
    ShowScanProgress(context.state, ScanningText(top), 0, 0);
    WalkFolder(context, top);
    form.pbgMain.SetValue(form.pbgMain.Max());
}

void ScanFile(ScanContext& context, const std::string& path) {
    ui::FrmMain& form = context.state.Form();
    form.pbgMain.SetMax(1);
    form.pbgMain.SetValue(0);
    form.lblStatus.SetVisible(true);
    // A look-up of a name with wildcards would give another file's entry.
    if (!MatchFoundFile(context, path) && path.find_first_of("*?") == std::string::npos) {
        if (const std::optional<platform::DirEntry> entry = context.files.Lookup(path)) {
            if ((entry->attributes & platform::kAttrDirectory) == 0) MatchFoundContent(context, path, *entry);
        }
    }
    CountOne(context.state.counters.filesInspected);
    ShowScanProgressNow(context.state, ScanningText(path), 0, 0);
    form.pbgMain.SetValue(form.pbgMain.Max());
}

}  // namespace bastion
