#include "scan/state/ResultChecks.h"

#include <string>

namespace bastion {

namespace {

// Sets the check state on every row of the queue that matches.
template <typename Belongs>
void CheckRows(ui::ListView& queue, bool checked, Belongs belongs) {
    for (std::size_t row = 0; row < queue.Count(); ++row) {
        if (belongs(queue, row)) queue.SetChecked(row, checked);
    }
}

}  // namespace

void SyncHiddenChecks(ScanState& state, std::size_t resultsRow) {
    ui::ListView& results = state.ResultsList();
    if (resultsRow >= results.Count()) return;
    const bool checked = results.Item(resultsRow).checked;
    const std::string text = results.Item(resultsRow).text;
    const std::string location = results.SubItem(resultsRow, 1);

    switch (results.Item(resultsRow).smallIcon) {
    case ui::kIconCookie:
        CheckRows(state.CookieQueue(), checked,
                  [&](const ui::ListView& queue, std::size_t row) { return queue.Item(row).text == location; });
        break;
    case ui::kIconRegistry:
        CheckRows(state.RegistryQueue(), checked, [&](const ui::ListView& queue, std::size_t row) {
            return queue.SubItem(row, 1) == text || queue.SubItem(row, 3) == text;
        });
        break;
    case ui::kIconFile:
        CheckRows(state.FileQueue(), checked,
                  [&](const ui::ListView& queue, std::size_t row) { return queue.SubItem(row, 1) == text; });
        break;
    case ui::kIconFolder:
        CheckRows(state.FileQueue(), checked,
                  [&](const ui::ListView& queue, std::size_t row) { return queue.Item(row).text == location; });
        break;
    default:
        break;
    }
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
