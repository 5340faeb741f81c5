// The Start button of the scan page and what hangs off it: a scan of the
// selected kind from preparation to the closing steps, Pause and Stop, and
// the commands of the result lists that belong to a scan (sorting the
// activity list, browsing to ticked results). The scan itself is the
// engine's; this asks for the file or folder, keeps the buttons and
// timers, and shows the outcome.
//
// What lies beside (the removal, the report, the main window's pages) is
// reached through hooks, and a hook left empty does nothing; the background
// work it holds off is one of the program's services.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ResultsPresenter.h"
#include "common/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "scan/ScanEngine.h"
#include "scan/ScanOptions.h"
#include "scheduler/ScheduledScan.h"
#include "services/Services.h"
#include "services/operations/TimersHeld.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

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

// The program's services, and what the scan page works with.
struct ScanPageEnvironment : services::Services {
    ui::FrmMain& form;
    ScanEngine& engine;
    // Shows the scan as it runs, and keeps its results.
    ResultsPresenter& presenter;
    // The definition count of the home page.
    ScanState& state;
};

// The scan kind selected in optScan; none when no option is.
std::optional<ScanKind> SelectedScanKind(const ui::FrmMain& form);
// The kind's position in optScan.
int ScanKindPosition(ScanKind kind);

class ScanController {
public:
    ScanController(const ScanPageEnvironment& environment, const ScanOptionSource& options, ScanHooks hooks = {});
    ScanController(const ScanController&) = delete;
    ScanController& operator=(const ScanController&) = delete;

    // Runs a scan of the kind selected in optScan, start to finish.
    ScanOutcome cmdScanNow_Click();
    // The skin's Start label: while Start is enabled, the scan page and a
    // scan.
    void lblStart_Click();
    // The home page's scan buttons: to the scan page, that kind selected
    // (its position in optScan), the scan started.
    ScanOutcome StartScanOfKind(int kind);
    // An occurrence of the schedule: its scan, unattended, and the removal
    // of what it finds when the schedule asks for it. Returns when both
    // have finished; a scan the user starts afterwards is attended and
    // removes nothing by itself.
    ScanOutcome RunScheduled(const ScheduledScan& scheduled);

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
    // The scan the selected kind asks for; the file or folder chosen in a
    // dialog, the drives ticked now.
    ScanRequest Request(const ScanOptions& options);
    // Tells what kept the definitions from being used.
    void TellDefinitionProblem(ScanOutcome outcome);
    // The buttons, the timers, the status page and the report.
    // held: the background timers' hold of the scan, let go on the way.
    void CloseScan(ScanOutcome outcome, const ScanOptions& options, bool reportNow,
                   std::optional<services::TimersHeld>& held);
    void RemoveAutomatically();
    void Pause();
    void Stop(std::string_view questionKey);
    std::string Message(std::string_view key) const;

    ScanPageEnvironment env_;
    const ScanOptionSource& options_;
    ScanHooks hooks_;
    ScanTimes times_;
    bool running_ = false;
    bool autoDelete_ = false;
    bool unattended_ = false;
};

}  // namespace bastion
