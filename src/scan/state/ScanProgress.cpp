#include "scan/state/ScanProgress.h"

#include "common/Text.h"
#include "scan/state/StatusTextFilter.h"

namespace bastion {

namespace {

constexpr std::int32_t kReportsPerRefresh = 25;

void ShowCounters(ScanState& state) {
    ui::FrmMain& form = state.Form();
    const ScanCounters& counters = state.counters;
    // A scan switched off keeps its not-selected text.
    if (!state.skipped.processes) {
        form.lblMemoryInspected.SetCaption(ToDecimal(counters.processesInspected));
    }
    if (!state.skipped.registry) {
        form.lblRegistryInspected.SetCaption(ToDecimal(counters.registryInspected));
    }
    form.lblFilesFolderInspected.SetCaption(ToDecimal(counters.filesInspected));
    form.lblSoftwareFound.SetCaption(ToDecimal(counters.itemsFound));
}

void ShowItemsFoundOnResultsPage(ScanState& state) {
    state.Form().lblRemovePicSoftwareFound.SetCaption(ToDecimal(state.counters.itemsFound));
}

// A value the bar refuses (beyond its range) is skipped: the display never
// stops a scan.
void ShowPercent(ui::ProgressBar& bar, std::int16_t percent) {
    if (percent >= 0) {
        bar.SetValue(percent);
    }
}

}  // namespace

void ShowScanProgressNow(ScanState& state, std::string_view text, std::int16_t scanPercent,
                         std::int16_t overallPercent) {
    ui::FrmMain& form = state.Form();
    ShowCounters(state);
    form.lblStatus.SetCaption(FilterStatusText(text));
    ShowItemsFoundOnResultsPage(state);
    ShowPercent(form.pb1, scanPercent);
    ShowPercent(form.pb2, overallPercent);
}

void ShowScanProgress(ScanState& state, std::string_view text, std::int16_t scanPercent,
                      std::int16_t overallPercent) {
    CountOne(state.throttle);
    if (state.throttle < kReportsPerRefresh) {
        return;
    }
    ShowScanProgressNow(state, text, scanPercent, overallPercent);
    state.throttle = 0;
}

void RefreshCounterLabels(ScanState& state) {
    ShowCounters(state);
    ShowItemsFoundOnResultsPage(state);
    state.throttle = 0;
}

}  // namespace bastion
