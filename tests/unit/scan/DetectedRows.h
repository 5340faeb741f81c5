// A scan's result lists holding one detection of every kind, with their
// queue rows, as the scans write them.
#pragma once

#include <string>
#include <vector>

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

    explicit DetectedRows(ScanState& state) {
        state.AddCookieQueueRow(kCookiePath);
        state.AddActivityRow("Cookie", ui::kIconCookie, "user@ads.example[1].txt");
        state.AddResultRow("Cookie: user@ads.example[1].txt", ui::kIconCookie, kCookiePath, "Tracking Cookie");

        state.AddRegistryQueueRow(platform::Hive::LocalMachine, "Software\\Adco", "", "Adco Toolbar",
                                  platform::RegView::Bits64);
        state.ReportDetection("Adco Toolbar", "HKEY_LOCAL_MACHINE\\Software\\Adco", "Toolbar", ui::kIconRegistry);

        state.AddFileQueueRow(kExePath, "Spy Threat");
        state.ReportDetection("Spy Threat", kExePath, "Spyware", ui::kIconFile);

        state.AddFileQueueRow(kFolderPath, "FILE");
        state.AddActivityRow("SpyCo Threat", ui::kIconFile, kFolderPath);
        state.AddResultRow("SpyCo Threat Directory", ui::kIconFolder, kFolderPath, "Adware", ui::kIconFile);

        state.AddFileQueueRow(kOtherExePath, "Other Threat");
        state.ReportDetection("Other Threat", kOtherExePath, "Adware", ui::kIconFile);
    }
};

// The text of every row of the list, in order.
inline std::vector<std::string> RowTexts(const ui::ListView& list) {
    std::vector<std::string> texts;
    for (const ui::ListItem& item : list.Rows()) texts.push_back(item.text);
    return texts;
}

// The text of every checked row of the list, in order.
inline std::vector<std::string> CheckedTexts(const ui::ListView& list) {
    std::vector<std::string> texts;
    for (const ui::ListItem& item : list.Rows()) {
        if (item.checked) texts.push_back(item.text);
    }
    return texts;
}

}  // namespace bastion::testing
