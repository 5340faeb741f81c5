// Ticking rows of the results list. Removal and exclusion work on the
// hidden queues, so every tick of a results row is carried to the queue rows
// that belong to it; which rows those are depends on the kind of detection
// the row's small icon tells.
#pragma once

#include <cstddef>

#include "scan/state/ScanState.h"

namespace bastion {

// Gives the results row's check state to the queue rows that belong to it:
// cookie (1): cookie queue rows whose path is the row's location;
// registry (2): registry queue rows whose key path or threat name is the
// row's text; file (3): file queue rows whose threat name is the row's text;
// folder (4): file queue rows whose path is the row's location.
void SyncHiddenChecks(ScanState& state, std::size_t resultsRow);

// The results list's tick handling: every tick the user gives a row runs
// SyncHiddenChecks for it.
void BindResultChecks(ScanState& state);

// Select All: ticks every row not ticked yet, and its queue rows with it;
// rows already ticked stay as they are.
void cmdSelectAll_Click(ScanState& state);

}  // namespace bastion
