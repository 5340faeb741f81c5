// The scan report: a plain-text account of the last scan (what was
// inspected, every result, the user's exclusions and the quarantine log),
// kept as "Scan_Log.txt" in the data folder. Only the last scan's report
// exists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/CodePage.h"
#include "platform/FileSystem.h"
#include "removal/RemovalResult.h"
#include "scan/results/ScanResults.h"
#include "services/identity/Identity.h"
#include "services/messages/MessageCatalogue.h"

namespace bastion {

struct ScanReport {
    platform::FileSystem& files;
    const CodePage& codePage;
    // Without a trailing backslash.
    const std::string& dataFolder;
    const services::Identity& identity;
    // What a scan the options left out says instead of its count.
    const services::MessageCatalogue& messages;
    // The scan as it ended: its times, counters and detections.
    const ScanResults& results;
    // The schedule started the scan, and asked for its findings to be
    // removed (the quarantine log then shows what was).
    bool scheduled = false;
    bool removeAutomatically = false;
    // After that removal: what it did. The report then lists every item
    // found, each with what became of it.
    const RemovalReport* removal = nullptr;
    // Said after the scan's times, one line each: what the run left out of
    // its definitions, for one.
    std::vector<std::string> notes = {};
};

// "Cookie", "Registry", "File" or "Folder"; "" for a running program.
std::string ReportTypeName(DetectionKind kind);

// What a counter shows: its number, or "Not Selected" (in the user's
// language) for a scan the options left out. The window, the console and
// the report say it alike.
std::string CounterText(std::int32_t count, bool skipped, const services::MessageCatalogue& messages);

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
