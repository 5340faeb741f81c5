// The removal commands of the results page ("Repair Now" and "Remove") and
// the "Delete Failed" window: which detections are ticked, the question,
// the progress on the results page, and afterwards the lists following
// what happened to each detection. The removal itself is the engine's; it
// is an operation (it starts only when no other one runs), holds the
// background timers off while it works, and an exit lets it finish the
// item in hand first.
#pragma once

#include <functional>
#include <string>

#include "app/ResultsPresenter.h"
#include "removal/RemovalEngine.h"
#include "services/Services.h"
#include "ui/forms/FrmDelete.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

// The program's services, and what the results page's removal works with.
struct RemovalCommandsEnvironment : services::Services {
    ui::FrmMain& form;
    RemovalEngine& engine;
    // The ticked detections, and the lists to follow the removal.
    ResultsPresenter& presenter;
};

// What lies beside the removal; an empty hook does nothing.
struct RemovalHooks {
    std::function<void()> showResultsPage;
    std::function<void()> refreshStatusPage;
    // After a removal, when chkSendData is ticked.
    std::function<void()> sendAnonymousData;
    // Shows "Delete Failed" (deleteFailed) until the user closes it.
    std::function<void()> showDeleteFailed;
};

class RemovalCommands final : private RemovalProgress {
public:
    RemovalCommands(const RemovalCommandsEnvironment& environment, RemovalHooks hooks = {});
    RemovalCommands(const RemovalCommands&) = delete;
    RemovalCommands& operator=(const RemovalCommands&) = delete;

    // "Repair Now": checks that something is ticked, asks, removes.
    RemovalReport Command4_Click();
    // "Remove": removes what is ticked without asking.
    RemovalReport lblRemove_Click();
    // After a scheduled scan with automatic removal: no question, no
    // window; what failed stays in the results list and the results page
    // says so.
    RemovalReport RemoveUnattended();

    // "Delete Failed": "Copy List" puts every row, each followed by CR LF,
    // on the clipboard; "Delete at next restart" has Windows delete each
    // file listed when it next starts, a copy kept in the quarantine.
    void Command2_Click();
    void cmdDeleteAtRestart_Click();

    RemovalHooks& Hooks() { return hooks_; }

    ui::FrmDelete deleteFailed;

private:
    RemovalReport Confirmed(bool unattended);
    RemovalReport Remove(bool unattended);
    // The results page after a removal: the lists, the "Delete Failed"
    // rows and what the user must know.
    void ShowReport(const RemovalReport& report, bool restorePointSupported);
    void Reached(Stage stage) override;
    void Removing(const Detection& detection, std::string_view location, std::size_t step,
                  std::size_t steps) override;
    std::string Message(std::string_view key) const;

    RemovalCommandsEnvironment env_;
    RemovalHooks hooks_;
};

}  // namespace bastion
