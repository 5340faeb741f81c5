// Ticking rows of the results list. Removal and exclusion work on the
// hidden queues, so every tick of a results row is carried to the queue rows
// that belong to it; which rows those are depends on the kind of detection
// the row's small icon tells.
#pragma once

#include <cstddef>
#include <functional>

#include "scan/state/ScanState.h"

namespace bastion {

// Gives the results row's check state to the queue rows it was created
// with (those carrying its link): never to another file of the same threat,
// nor to the same key found in the other registry view.
void SyncHiddenChecks(ScanState& state, std::size_t resultsRow);

// Calls visit(queue, row) for every queue row linked to the results row.
void ForEachLinkedQueueRow(ScanState& state, std::size_t resultsRow,
                           const std::function<void(ui::ListView& queue, std::size_t row)>& visit);

// The results list's tick handling: every tick the user gives a row runs
// SyncHiddenChecks for it.
void BindResultChecks(ScanState& state);

// Select All: ticks every row not ticked yet, and its queue rows with it;
// rows already ticked stay as they are.
void cmdSelectAll_Click(ScanState& state);

}  // namespace bastion
