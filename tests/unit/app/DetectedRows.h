// A scan's results holding one detection of every kind, as the scans add
// them, shown by the presenter.
#pragma once

#include <string>
#include <vector>

#include "app/ResultsPresenter.h"
#include "scan/state/ScanState.h"

namespace bastion::testing {

struct DetectedRows {
    inline static const std::string kCookiePath =
        "C:\\Documents and Settings\\User\\Cookies\\user@ads.example[1].txt";
    inline static const std::string kExePath = "C:\\Program Files\\Spy\\spy.exe";
    inline static const std::string kOtherExePath = "C:\\Program Files\\Other\\other.exe";
    inline static const std::string kFolderPath = "C:\\Program Files\\SpyCo";

    // Results rows, in this order.
    enum Row : std::size_t { kCookie, kRegistry, kFile, kFolder, kOtherFile };

    DetectedRows(ScanState& state, ResultsPresenter& presenter) {
        state.Begin(presenter);
        state.AddActivity(ActivityKind::Cookie, "Cookie", "user@ads.example[1].txt");
        state.AddDetection(DetectionKind::Cookie, "user@ads.example[1].txt", "Tracking Cookie", kCookiePath,
                           CookieItem{kCookiePath});
        state.ReportDetection(DetectionKind::Registry, "Adco Toolbar", "Toolbar", "HKEY_LOCAL_MACHINE\\Software\\Adco",
                              RegistryItem{platform::Hive::LocalMachine, "Software\\Adco", "", platform::RegView::Bits64});
        state.ReportDetection(DetectionKind::File, "Spy Threat", "Spyware", kExePath, FileItem{kExePath});
        state.AddActivity(ActivityKind::File, "SpyCo Threat", kFolderPath);
        state.AddDetection(DetectionKind::Folder, "SpyCo Threat Directory", "Adware", kFolderPath,
                           FileItem{kFolderPath});
        state.ReportDetection(DetectionKind::File, "Other Threat", "Adware", kOtherExePath, FileItem{kOtherExePath});
        presenter.Show(state.End());
    }
};

// The text of every row of the list, in order.
inline std::vector<std::string> RowTexts(const ui::ListView& list) {
    std::vector<std::string> texts;
    for (const ui::ListItem& item : list.Rows()) texts.push_back(item.text);
    return texts;
}

}  // namespace bastion::testing
