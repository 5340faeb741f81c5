// The removal of chosen detections: two passes over them inside a restore
// point, files and folders first, then registry entries, then cookies; the
// first does the work, the second tries again what survived. Every item is
// kept in the quarantine (or backed up) before it is deleted and tested
// after; one result per detection tells how it went. It asks nothing and
// shows nothing: its progress goes to an observer, and the front end asks,
// holds other work off and shows the results.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "removal/RemovalResult.h"
#include "removal/RestorePoints.h"
#include "scan/results/Detection.h"
#include "services/Services.h"

namespace bastion {

// The program's services are all a removal works with: the machine, the
// product's name for the restore point, the running total of items removed
// ("lblDefRemoved") and the data folder's quarantine.
using RemovalEnvironment = services::Services;

// What a removal tells its front end while it works.
class RemovalProgress {
public:
    enum class Stage {
        Gathering,           // before anything is touched
        Gathered,
        MakingRestorePoint,  // where Windows offers restore points
    };
    virtual ~RemovalProgress() = default;
    virtual void Reached(Stage /*stage*/) {}
    // The detection in hand (its location as the removal takes it) at step
    // of steps: one per detection; the second pass goes over the steps
    // again, and takes only the items that survived the first.
    virtual void Removing(const Detection& /*detection*/, std::string_view /*location*/, std::size_t /*step*/,
                          std::size_t /*steps*/) {}
};

// What "Delete at next restart" made of a file that could not be removed.
enum class RestartDeletion {
    Scheduled,  // a copy kept in the quarantine, Windows deletes the file when it next starts
    Refused,    // no copy could be kept, or Windows would not take it: nothing changed
    NoFile,     // a folder, a registry entry, or a file no longer there: nothing to do
};

class RemovalEngine {
public:
    explicit RemovalEngine(const RemovalEnvironment& environment);
    RemovalEngine(const RemovalEngine&) = delete;
    RemovalEngine& operator=(const RemovalEngine&) = delete;

    // Removes the detections (running programs, which the scan stopped,
    // are passed over), adds the number removed to the running total, and
    // reports on each. A stop request ends it after the item in hand.
    // withRestorePoint false: no restore point, for a file that had only
    // just arrived (the file shield's), which the quarantine keeps anyway.
    RemovalReport Remove(const std::vector<Detection>& selection, RemovalProgress& progress,
                         bool withRestorePoint = true);

    // The removal ends after the item in hand; the flag stays set until
    // the front end clears it for the next removal.
    void RequestStop() { stopRequested_ = true; }
    void ClearStop() { stopRequested_ = false; }
    bool StopRequested() const { return stopRequested_; }

    // Keeps a copy of the file in the quarantine and has Windows delete it
    // when it next starts (noted in the quarantine log).
    RestartDeletion DeleteAtNextRestart(const std::string& path);

private:
    RemovalEnvironment env_;
    RestorePoint restorePoint_;
    bool stopRequested_ = false;
};

}  // namespace bastion
