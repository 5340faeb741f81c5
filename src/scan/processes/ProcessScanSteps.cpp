#include "scan/processes/ProcessScanSteps.h"

#include "scan/state/ScanPercent.h"

namespace bastion {

void CountProcessInspected(ScanContext& context, std::string_view name, ProcessScanCaller caller) {
    if (caller != ProcessScanCaller::Scan) return;
    ScanState& state = context.state;
    CountOne(state.counters.processesInspected);
    const long long inspected = state.counters.processesInspected;
    std::string text = state.PhaseCaption();
    text.append("\r\n").append(name);
    state.ShowProgress(text, PhasePercent(state.definitions, ScanPhase::Processes, inspected),
                       OverallPercent(state.definitions, ScanPhase::Processes, inspected));
}

void ReportStoppedProgram(ScanState& state, std::string shownAs, std::string outcome, ProcessItem item,
                          const std::string& fileName) {
    state.AddActivity(ActivityKind::RunningProgram, std::move(shownAs), std::move(outcome));
    std::string path = item.path;
    state.AddDetection(DetectionKind::RunningProgram, fileName, "", std::move(path), std::move(item));
    CountOne(state.counters.itemsFound);
}

bool StopRequestedInScan(const ScanState& state, ProcessScanCaller caller) {
    return caller == ProcessScanCaller::Scan && state.StopRequested();
}

}  // namespace bastion
