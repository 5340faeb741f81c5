// Steps both variants of the process scan share.
#pragma once

#include <string>
#include <string_view>

#include "scan/ScanContext.h"
#include "scan/processes/ProcessScanner.h"

namespace bastion {

// One more process inspected (a definition line or a running process) and
// the progress display, for a scan; the shield moves no scan counter.
void CountProcessInspected(ScanContext& context, std::string_view name, ProcessScanCaller caller);

// The stop flag belongs to the scan the user stopped: it stays set until the
// next scan starts, and a shield run in between must still inspect.
bool StopRequestedInScan(const ScanState& state, ProcessScanCaller caller);

// A running threat a scan found and tried to stop: its entry (logged as
// shownAs, "Running Application" or "Running Process", with what became of
// it) and its detection, and one more item found.
void ReportStoppedProgram(ScanState& state, std::string shownAs, std::string outcome, ProcessItem item,
                          const std::string& fileName);

}  // namespace bastion
