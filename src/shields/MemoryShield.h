// The memory shield: every tick of tmrMemoryInspected (and every third tick
// of the home-page shield) compares the running programs with the
// executable definitions (and the files they run with the content
// definitions), and asks the user about each one it finds, one
// alert after the other: "STOP" ends that process, "ALLOW" puts its file
// name on the exclusion list, closing the alert (or leaving it unanswered
// for ten minutes) does neither; the program is asked about again when the
// running programs next change.
//
// A program that runs with administrator rights is still shown: its alert
// says that stopping it needs them, and a "STOP" that is refused offers to
// start the program again as administrator.
//
// A tick is background work: it runs only while no operation runs and no
// modal window is open, and is itself an operation while it looks and asks,
// so that nothing else starts inside it; an exit meanwhile closes the alert
// and ends the program once the tick has returned.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "definitions/PathTokens.h"
#include "scan/ScanEngine.h"
#include "shields/ShieldAlerts.h"

namespace bastion {

class MemoryShield {
public:
    // Takes over the process scan's alert, which it asks through alerts.
    // The shield reads and writes what a scan does (the lists of the scan
    // page it leaves alone); the referenced objects outlive it.
    MemoryShield(const ScanEnvironment& environment, ShieldAlerts& alerts);
    MemoryShield(const MemoryShield&) = delete;
    MemoryShield& operator=(const MemoryShield&) = delete;

    // One look at the running programs (a tick of tmrMemoryInspected), when
    // "optMemorySheildOn" is true and nothing else runs.
    void CheckRunningPrograms();

    // Offers to start the program again with administrator rights, for the
    // programs named that only they may stop; nothing when empty.
    std::function<void(const std::vector<std::string>& fileNames)> offerElevatedRestart;

private:
    // The programs the user chose to stop that still run.
    void TellNotStopped();

    ScanEnvironment env_;
    ShieldAlerts& alerts_;
    // The folders the definitions name, looked up once: they do not move
    // while the program runs.
    std::optional<PathTokens> tokens_;
};

}  // namespace bastion
