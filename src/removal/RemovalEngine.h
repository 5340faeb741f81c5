// The removal of ticked results ("Repair Now" and "Remove"): two passes
// over the ticked rows of the file, registry and cookie queues inside a
// restore point; the first does the work, the second tries again what
// survived. Every item is kept in the quarantine (or backed up) before it
// is deleted and tested after; what survives both passes is listed in
// "Delete Failed" and keeps its row. The removal is an operation: it starts
// only when no other one runs, holds the background timers off while it
// works, and an exit lets it finish the item in hand first.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "removal/RemovalResult.h"
#include "removal/RestorePoints.h"
#include "scan/state/ScanState.h"
#include "services/Services.h"
#include "ui/forms/FrmDelete.h"

namespace bastion {

// The program's services and the lists the removal works from.
struct RemovalEnvironment : services::Services {
    ScanState& state;
};

// What lies above the engine; an empty hook does nothing.
struct RemovalHooks {
    std::function<void()> showResultsPage;
    std::function<void()> refreshStatusPage;
    // After a removal, when chkSendData is ticked.
    std::function<void()> sendAnonymousData;
    // Shows "Delete Failed" (deleteFailed) until the user closes it.
    std::function<void()> showDeleteFailed;
};

struct RemovedItem {
    // The path, or the registry location as the results list shows it.
    std::string location;
    RemovalResult result = RemovalResult::NotTried;
    // The results row the item belongs to (ui::ListItem::link); 0 for a COM
    // class registration removed with its server's file.
    std::uint64_t link = 0;
    RemovalNote note = RemovalNote::None;
};

struct RemovalReport {
    // False when nothing ran: another operation, nothing ticked, or No.
    bool ran = false;
    // Every ticked queue row, files first, then registry entries, then
    // cookies; then the COM class registrations that could not be removed.
    std::vector<RemovedItem> items;
    int removed = 0;
    int failed = 0;
    int notFound = 0;
    bool restorePointMade = false;
};

// How the removal went for each row of the results list as it was before
// it (rows without a link, "EXCLUDED" ones, were not removed): removed when
// everything of it was, not found when nothing of it was there, failed
// otherwise.
std::vector<RemovalResult> ResultsOfRows(const std::vector<ui::ListItem>& rows, const RemovalReport& report);

class RemovalEngine {
public:
    RemovalEngine(const RemovalEnvironment& environment, RemovalHooks hooks = {});
    RemovalEngine(const RemovalEngine&) = delete;
    RemovalEngine& operator=(const RemovalEngine&) = delete;

    // "Repair Now": checks that something is ticked, asks, removes.
    RemovalReport Command4_Click();
    // "Remove": removes what is ticked without asking.
    RemovalReport lblRemove_Click();
    // After a scheduled scan with automatic removal, and the console's
    // --remove: no question, no window; what failed stays in the results
    // list and the results page says so.
    RemovalReport RemoveUnattended();

    // "Delete Failed": "Copy List" puts every row, each followed by CR LF,
    // on the clipboard; "Delete at next restart" keeps a copy of each file
    // listed in the quarantine and has Windows delete it when it next
    // starts (noted in the log).
    void Command2_Click();
    void cmdDeleteAtRestart_Click();

    RemovalHooks& Hooks() { return hooks_; }

    ui::FrmDelete deleteFailed;

private:
    RemovalReport Confirmed(bool unattended);
    RemovalReport Remove(bool unattended);
    std::string Message(std::string_view key) const;

    RemovalEnvironment env_;
    RemovalHooks hooks_;
    RestorePoint restorePoint_;
    bool stopRequested_ = false;
};

}  // namespace bastion
