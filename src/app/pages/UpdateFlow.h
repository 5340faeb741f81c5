// The update flow: what "Update Now", "Run Live Update Now", File > "Run
// Live Update", the first-start greeting and the automatic update run. It is
// an operation (refused while a scan or removal runs), holds the background
// timers off while it works, shows the progress window (whose Cancel ends
// it), and announces the result in the pop-up: updated, up to date, or that
// the definitions could not be downloaded, verified or saved.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/DateTime.h"
#include "definitions/DefinitionTables.h"
#include "scan/state/ScanState.h"
#include "services/Services.h"
#include "ui/forms/FrmDownload.h"
#include "ui/forms/FrmMain.h"
#include "ui/forms/FrmSignatureUpdated.h"
#include "update/DefinitionTrust.h"
#include "update/DefinitionUpdates.h"

namespace bastion {

struct UpdateEnvironment : services::Services {
    // The definition counts.
    ScanState& state;
    // The main window's labels and timer.
    ui::FrmMain& form;
    // The folder walk's tables, loaded again after their files changed.
    DefinitionTables& tables;
    // The vendor's key, when the build names one.
    const DefinitionTrust& trust;
};

class UpdateFlow {
public:
    // Takes over the main window's timUpdate.
    explicit UpdateFlow(UpdateEnvironment environment);
    UpdateFlow(const UpdateFlow&) = delete;
    UpdateFlow& operator=(const UpdateFlow&) = delete;

    // Every status text of the progress window, as it is shown.
    std::function<void(const std::string& status)> onStatus;

    ui::FrmDownload download;
    ui::FrmSignatureUpdated popup;

    // Runs the flow; nullopt when another operation runs (nothing happens
    // then). Cancel, or an exit, during the flow stops it at once while it
    // waits for the server, and at its next safe point while it writes.
    std::optional<UpdateResult> RunLiveUpdate();

    // Starts the automatic update's count when "chkAutomaticUpdate" reads 1.
    void StartAutomaticUpdate();
    // Each second of timUpdate: seconds count only while no operation and
    // no modal window is up; the 301st such second runs the flow, once a
    // run.
    void timUpdate_Timer();
    int AutomaticUpdateCounter() const { return counter_; }

    // With the vendor's key: shows on the home page whether a verified date
    // answer has confirmed the definitions as current within the week, and
    // when not, says so in the pop-up too, once a day (notify). Looks at
    // most once a minute unless now.
    void CheckFreshness(bool notify, bool now = false);

private:
    UpdateResult Check();
    void ShowResult(const UpdateResult& result);

    UpdateEnvironment env_;
    bool stopRequested_ = false;
    int counter_ = 0;
    std::optional<DateTime> freshnessLook_;
};

}  // namespace bastion
