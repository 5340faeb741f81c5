// The process scan (the module ModMemoryItemsInspected): running programs
// compared with "ExeDefinition.dat".
// Inside a scan a running threat is stopped at once; outside one (the memory
// shield's timer) it is shown to the user, who stops or allows it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "scan/processes/ExecutablePaths.h"
#include "scan/content/ContentVerdicts.h"
#include "scan/processes/ProcessList.h"
#include "scan/processes/ProcessStop.h"
#include "scan/ScanContext.h"
#include "services/dialogs/Dialogs.h"
#include "services/messages/MessageCatalogue.h"

namespace bastion {

// NoAnswer: the alert was closed without one, or the program is ending;
// nothing is stopped and nothing excluded.
enum class AlertAnswer { Stop, Allow, NoAnswer };

// Who runs the process scan: a scan keeps its counters, entries and progress
// and stops what it finds; the memory shield leaves the scan's lists and
// counters alone and asks the user about each detection.
enum class ProcessScanCaller { Scan, Shield };

// The memory shield's alert for a detection outside a scan: the file name
// and the company text to show, and whether only an administrator may stop
// the program; returns the user's answer ("STOP" or "ALLOW", or none).
using RunningThreatAlert = std::function<AlertAnswer(const std::string& fileName, const std::string& companyName,
                                                     bool needsAdministrator)>;

// A running program that matched a definition: the process and the image
// it was found running.
struct RunningThreat {
    std::string fileName;     // upper-cased, as shown
    std::string companyName;  // from its version resource, maybe empty
    std::uint32_t processId = 0;
    std::string path;  // the image path the scan read (ComparableProgramPath)
};

class ProcessScanner {
public:
    ProcessScanner(services::Dialogs& dialogs, const services::MessageCatalogue& messages, std::string productName);

    // Chooses the variant by the operating-system family: the NT family
    // compares full module paths, the Windows 95 family snapshot names;
    // any other family scans nothing.
    void ScanRunningProcesses(ScanContext& context, ProcessScanCaller caller);
    // Forgets the last process list, so the next run inspects every process
    // even when none started or ended (a scan the user starts must).
    void ResetSignature();
    void SetAlert(RunningThreatAlert alert) { alert_ = std::move(alert); }

    // One detection on the NT family. For a scan: the program is stopped,
    // then its activity entry says whether it was. For the shield: the alert
    // decides; "STOP" stops it, "ALLOW" puts the file name on the exclusion
    // list. Without an alert nothing is stopped. Stopping ends that process
    // only, and only while it still runs the detected image; never another
    // of the same name.
    void ReportRunningThreat(ScanContext& context, const RunningThreat& threat, ProcessScanCaller caller);

    // The programs the last run stopped in a scan, or the user chose to
    // stop, that still run, in order: the scan, the console and the shield
    // tell the user.
    const std::vector<ProgramNotStopped>& NotStopped() const { return notStopped_; }
    // A scan starts: what an earlier run could not stop is not its to tell.
    void ClearNotStopped() { notStopped_.clear(); }

private:
    void ScanProcessesNT(ScanContext& context, ProcessScanCaller caller);
    void ScanProcesses9x(ScanContext& context, ProcessScanCaller caller);
    // The Windows 95 family's definition names, read once per run of the
    // program; false when there are none to compare with.
    bool Load9xDefinitions(ScanContext& context, ProcessScanCaller caller);
    void Report9xThreat(ScanContext& context, const std::string& name, const std::string& path,
                        std::uint32_t processId, ProcessScanCaller caller);
    // The executable definitions: read afresh for a scan, which counts
    // and shows every line, and for the shield only when the file changed.
    // nullptr when what was read (then in read) may not be all the file
    // says: a stop inside a scan, or a file that could not be read (for the
    // shield, one that is there: read then holds what was kept before).
    const ExecutablePathList* ExecutablePaths(ScanContext& context, ProcessScanCaller caller, ExecutablePathList& read);

    services::Dialogs& dialogs_;
    const services::MessageCatalogue& messages_;
    std::string productName_;
    RunningThreatAlert alert_;
    // The last process list inspected on the NT family; none before the
    // first run and after a reset, so that the next run inspects.
    std::optional<ProcessList> processListSignature_;
    // Windows 95 family: the name part of each definition line, trimmed and
    // upper-cased, one per line.
    std::optional<std::vector<std::string>> definitions9x_;
    // The memory shield's executable definitions as last read, kept while
    // the file keeps its size and time stamp: the shield looks every two
    // seconds, and the file changes only with an update.
    struct KeptPaths {
        std::string file;
        platform::FileStamp stamp;
        ExecutablePathList paths;
    };
    std::optional<KeptPaths> shieldPaths_;
    ContentVerdicts imageContent_;
    std::vector<ProgramNotStopped> notStopped_;
};

}  // namespace bastion
