#include "scan/state/ResultChecks.h"

namespace bastion {

void ForEachLinkedQueueRow(ScanState& state, std::size_t resultsRow,
                           const std::function<void(ui::ListView& queue, std::size_t row)>& visit) {
    const ui::ListView& results = state.ResultsList();
    if (resultsRow >= results.Count() || results.Item(resultsRow).link == 0) return;
    const std::uint64_t link = results.Item(resultsRow).link;
    for (ui::ListView* queue : {&state.FileQueue(), &state.RegistryQueue(), &state.CookieQueue()}) {
        for (std::size_t row = 0; row < queue->Count(); ++row) {
            if (queue->Item(row).link == link) visit(*queue, row);
        }
    }
}

void SyncHiddenChecks(ScanState& state, std::size_t resultsRow) {
    if (resultsRow >= state.ResultsList().Count()) return;
    const bool checked = state.ResultsList().Item(resultsRow).checked;
    ForEachLinkedQueueRow(state, resultsRow,
                          [checked](ui::ListView& queue, std::size_t row) { queue.SetChecked(row, checked); });
}

void BindResultChecks(ScanState& state) {
    state.ResultsList().onItemCheck = [&state](std::size_t row) { SyncHiddenChecks(state, row); };
}

void cmdSelectAll_Click(ScanState& state) {
    ui::ListView& results = state.ResultsList();
    for (std::size_t row = 0; row < results.Count(); ++row) {
        if (results.Item(row).checked) continue;
        results.SetChecked(row, true);
        SyncHiddenChecks(state, row);
    }
}

}  // namespace bastion
