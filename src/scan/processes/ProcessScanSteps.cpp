#include "scan/processes/ProcessScanSteps.h"

#include "scan/state/ScanPercent.h"
#include "scan/state/ScanProgress.h"

namespace bastion {

void CountProcessInspected(ScanContext& context, std::string_view name, ProcessScanCaller caller) {
    if (caller != ProcessScanCaller::Scan) return;
    ScanState& state = context.state;
    CountOne(state.counters.processesInspected);
    const long long inspected = state.counters.processesInspected;
    std::string text = state.PhaseCaption();
    text.append("\r\n").append(name);
    ShowScanProgress(state, text, PhasePercent(state.definitions, ScanPhase::Processes, inspected),
                     OverallPercent(state.definitions, ScanPhase::Processes, inspected));
}

bool StopRequestedInScan(const ScanState& state, ProcessScanCaller caller) {
    return caller == ProcessScanCaller::Scan && state.StopRequested();
}

}  // namespace bastion
