// The percentages the scans show on the two progress bars: a scan's own
// count over its definition lines, and the progress over all definition
// lines, counting the scans in the order cookies, processes, registry,
// files.
#pragma once

#include <cstdint>

#include "scan/state/ScanState.h"

namespace bastion {

// count / total * 100, rounded half to even. A zero (or negative) total gives
// 0; a result beyond the 16-bit range is held at its edge, which no progress
// bar accepts.
std::int16_t Percent(long long count, long long total);

// count over the phase's own definition lines.
std::int16_t PhasePercent(const DefinitionCounts& lines, ScanPhase phase, long long count);

// count plus the lines of the phases before this one, over all lines.
std::int16_t OverallPercent(const DefinitionCounts& lines, ScanPhase phase, long long count);

}  // namespace bastion
