// The progress display at the top of the scan page: the counters, the
// status line and the two progress bars. The scans report once per line or
// file; updating seven controls each time would dominate a scan, so
// ShowScanProgress changes the display on every 25th report only.
#pragma once

#include <cstdint>
#include <string_view>

#include "scan/state/ScanState.h"

namespace bastion {

// Throttled: every 25th call shows the counters, the filtered text and the
// percentages. A negative percentage leaves its bar as it was.
void ShowScanProgress(ScanState& state, std::string_view text, std::int16_t scanPercent,
                      std::int16_t overallPercent);

// The same display on every call; the throttle count is left alone.
void ShowScanProgressNow(ScanState& state, std::string_view text, std::int16_t scanPercent,
                         std::int16_t overallPercent);

// The counters to their labels, so the final numbers show whatever the
// throttle; restarts the throttle count.
void RefreshCounterLabels(ScanState& state);

}  // namespace bastion
