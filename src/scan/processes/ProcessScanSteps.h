// Steps both variants of the process scan share.
#pragma once

#include <string_view>

#include "scan/ScanContext.h"

namespace bastion {

// One more process inspected (a definition line or a running process); the
// progress display follows only while a scan is in progress.
void CountProcessInspected(ScanContext& context, std::string_view name);

// The stop flag belongs to the scan the user stopped: it stays set until the
// next scan starts, and a shield run in between must still inspect.
bool StopRequestedInScan(const ScanState& state);

}  // namespace bastion
