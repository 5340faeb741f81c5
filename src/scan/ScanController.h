// The Start button of the scan page and what hangs off it: a scan of the
// selected kind from preparation to the closing steps, Pause and Stop, and
// the commands of the result lists that belong to a scan (sorting the
// activity list, browsing to ticked results).
//
// What lies above the scan engine (the removal engine, the report, the main
// window's pages) is reached through hooks, so that the engine needs none of
// it to run and a hook left empty does nothing; the background work it
// holds off is one of the program's services.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/CodePage.h"
#include "definitions/DefinitionTables.h"
#include "definitions/ExclusionList.h"
#include "definitions/SafetyList.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "scan/processes/ProcessScanner.h"
#include "scan/ScanContext.h"
#include "scan/ScanOptions.h"
#include "scan/state/ScanState.h"
#include "services/Services.h"
#include "services/operations/TimersHeld.h"

namespace bastion {

// How a scan ended, for a front end that reports it (the console scanner's
// exit status).
enum class ScanOutcome {
    Completed,
    Cancelled,           // the stop flag was set
    DefinitionsMissing,  // the definition set was incomplete: nothing scanned
    DefinitionsUnreadable,  // a definition file could not be read to its end: nothing scanned
    NothingChosen,       // the file or folder dialog was cancelled
    AlreadyRunning,      // another operation was running; nothing happened
};

// What the report tells of the last scan: its start and finish as general
// date texts, and whether the schedule started it and asked for its
// findings to be removed.
struct ScanTimes {
    std::string started;
    std::string finished;
    bool scheduled = false;
    bool removeAutomatically = false;
};

struct ScanHooks {
    // Empties the problem list of the removal progress window.
    std::function<void()> clearRemovalProblems;
    // Writes the scan report; called at the end of a scan when the options
    // ask for one.
    std::function<void()> makeReport;
    // The home page's figures, after the scan dates changed.
    std::function<void()> refreshStatusPage;
    // The main window's pages.
    std::function<void()> showScanPage;
    std::function<void()> showResultsPage;
    // The removal of the ticked results.
    std::function<void()> removeTicked;
    // After a scan the user started: the running threats it could not stop.
    std::function<void(const std::vector<ProgramNotStopped>& programs)> programsNotStopped;
};

// Everything a scan reads and writes: the program's services, and the
// tables and lists of the scan; the referenced objects outlive the
// controller.
struct ScanEnvironment : services::Services {
    SafetyList& safety;
    ExclusionList& exclusions;
    DefinitionTables& tables;
    ScanState& state;
    ProcessScanner& processScanner;
};

// What one scan works with, the tokens resolved for it.
ScanContext MakeScanContext(const ScanEnvironment& environment, const PathTokens& tokens);
// The same with another pump (the shields' quiet one).
ScanContext MakeScanContext(const ScanEnvironment& environment, const PathTokens& tokens, services::EventPump& pump);

class ScanController {
public:
    ScanController(const ScanEnvironment& environment, const ScanOptionSource& options, ScanHooks hooks = {});
    ScanController(const ScanController&) = delete;
    ScanController& operator=(const ScanController&) = delete;

    // Runs a scan of the kind selected in optScan, start to finish.
    ScanOutcome cmdScanNow_Click();
    // The skin's Start label: while Start is enabled, the scan page and a
    // scan.
    void lblStart_Click();
    // The home page's scan buttons: to the scan page, that kind selected,
    // the scan started.
    ScanOutcome StartScanOfKind(int kind);

    // Holds the scan inside a modal box until the user closes it.
    void cmdPause_Click();
    void lblPause_Click();
    // Ask, and on Yes set the stop flag: the scan ends at its next test.
    void cmdStop_Click();
    void lblStop_Click();

    // Sorts the activity list by the column, the order turning at every
    // click.
    void lvwSpywareFound_ColumnClick(int column);
    // Shows each ticked result in Explorer.
    void cmdBrowse_Click();

    // Set by the scheduler while it starts a scan that removes what it
    // finds: once a completed scan has closed, every result is ticked and
    // removed (the removal is an operation of its own, started when the
    // scan's has ended), and the report, written after the removal, shows
    // it.
    void SetAutoDelete(bool autoDelete) { autoDelete_ = autoDelete; }
    bool AutoDelete() const { return autoDelete_; }
    // Set by the scheduler while it starts a scan: nobody may be at the
    // machine, so the scan asks nothing and shows no box; what it would
    // have said shows on the scan page.
    void SetUnattended(bool unattended) { unattended_ = unattended; }
    bool Unattended() const { return unattended_; }

    bool Running() const { return running_; }
    const ScanTimes& Times() const { return times_; }
    ScanHooks& Hooks() { return hooks_; }

private:
    ScanOutcome RunSelectedKind(ScanContext& context, const ScanOptions& options);
    bool PrepareKind();
    // Says that a definition file could not be read.
    ScanOutcome DefinitionsUnreadable();
    void SmartScan(ScanContext& context, const ScanOptions& options);
    void FullSystemScan(ScanContext& context, const ScanOptions& options);
    void ProcessPhase(ScanContext& context, const ScanOptions& options);
    void RegistryPhase(ScanContext& context, const ScanOptions& options);
    void SetPhase(const std::string& message);
    void FinishKind();
    // The scan dates, the buttons, the timers, the status page and the
    // report; a Full System Scan also dates the last full scan.
    // held: the background timers' hold of the scan, let go on the way.
    void CloseScan(ScanOutcome& outcome, const ScanOptions& options, bool fullSystemScan, bool reportNow,
                   std::optional<services::TimersHeld>& held);
    void RemoveAutomatically();
    void Pause();
    void Stop(std::string_view questionKey);
    std::string Message(std::string_view key) const;
    std::string Now() const;

    ScanEnvironment env_;
    const ScanOptionSource& options_;
    ScanHooks hooks_;
    ScanTimes times_;
    bool running_ = false;
    bool autoDelete_ = false;
    bool unattended_ = false;
    std::int32_t cookieFilesExamined_ = 0;
};

}  // namespace bastion
