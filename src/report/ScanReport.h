// The scan report: a plain-text account of the last scan (what was
// inspected, every result, the user's exclusions and the quarantine log),
// kept as "Scan_Log.txt" in the data folder. Only the last scan's report
// exists.
#pragma once

#include <string>
#include <vector>

#include "common/CodePage.h"
#include "platform/FileSystem.h"
#include "removal/RemovalResult.h"
#include "services/identity/Identity.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

// What the scan found before an automatic removal (the results rows) and
// how the removal went for each row.
struct AutomaticRemoval {
    std::vector<ui::ListItem> found;
    std::vector<RemovalResult> results;
};

struct ScanReport {
    platform::FileSystem& files;
    const CodePage& codePage;
    // Without a trailing backslash.
    const std::string& dataFolder;
    const services::Identity& identity;
    // The scan's start and finish as the controller wrote them.
    const std::string& started;
    const std::string& finished;
    // The counter labels and the results list of the last scan.
    const ui::FrmMain& form;
    // The schedule started the scan, and asked for its findings to be
    // removed (the quarantine log then shows what was).
    bool scheduled = false;
    bool removeAutomatically = false;
    // After that removal: what it found and did. The report then lists
    // every item found, each with what became of it.
    const AutomaticRemoval* removal = nullptr;
    // Said after the scan's times, one line each: what the run left out of
    // its definitions, for one.
    std::vector<std::string> notes = {};
};

// "Cookie", "Registry", "File", "Folder" or "EXCLUDED" for the kind codes
// "1" to "5"; "" for any other.
std::string ReportTypeName(const std::string& kindCode);

// The report's text (UTF-8). A listed file that no longer exists has an
// empty company and "0 bytes". After an automatic removal each found item
// has a "Removal: " line ("removed", "not found" or "failed"), and the
// scan says the items were removed automatically only when all were.
std::string ComposeReport(const ScanReport& report);

// Replaces the report file with a new report in the system code page. The
// new text goes to a temporary file first and takes the old one's place in
// one step; when that fails the old report is removed, so that no earlier
// scan's report passes for this one's.
bool MakeReport(const ScanReport& report);

// The path of "Scan_Log.txt" in the data folder.
std::string ReportPath(const std::string& dataFolder);

}  // namespace bastion
