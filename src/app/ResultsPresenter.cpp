#include "app/ResultsPresenter.h"

#include <algorithm>

#include "common/Text.h"
#include "report/ScanReport.h"
#include "scan/state/StatusTextFilter.h"

namespace bastion {

namespace {

constexpr std::int32_t kReportsPerRefresh = 25;

// A value the bar refuses (beyond its range) is skipped: the display never
// stops a scan. A negative percentage leaves the bar as it was.
void ShowPercent(ui::ProgressBar& bar, std::int16_t percent) {
    if (percent >= 0) bar.SetValue(percent);
}

}  // namespace

int KindIcon(DetectionKind kind) {
    switch (kind) {
    case DetectionKind::Cookie: return ui::kIconCookie;
    case DetectionKind::Registry: return ui::kIconRegistry;
    case DetectionKind::Folder: return ui::kIconFolder;
    case DetectionKind::File:
    case DetectionKind::RunningProgram: break;
    }
    return ui::kIconFile;
}

int ActivityIcon(ActivityKind kind) {
    switch (kind) {
    case ActivityKind::Cookie: return ui::kIconCookie;
    case ActivityKind::Registry: return ui::kIconRegistry;
    case ActivityKind::Folder: return ui::kIconFolder;
    case ActivityKind::Excluded: return ui::kIconExcluded;
    case ActivityKind::File:
    case ActivityKind::RunningProgram: break;
    }
    return ui::kIconFile;
}

ResultsPresenter::ResultsPresenter(ui::FrmMain& form, const services::MessageCatalogue& messages)
    : form_(form), messages_(messages) {}

void ResultsPresenter::Begun() {
    throttle_ = 0;
    skipped_ = {};
    for (ui::Label* label : {&form_.lblMemoryInspected, &form_.lblRegistryInspected, &form_.lblFilesFolderInspected,
                             &form_.lblSoftwareFound, &form_.lblRemovePicSoftwareFound, &form_.lbltracesFound,
                             &form_.lblTotalNoOfRunningItems, &form_.lblPercentageCompleted, &form_.lblStatus}) {
        label->SetCaption("0");
    }
    form_.lvwSpywareFound.Clear();
    form_.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Clear();
}

// While the definitions load there is nothing to pause or stop.
void ResultsPresenter::Loading(bool loading) {
    form_.cmdPause.SetEnabled(!loading);
    form_.cmdStop.SetEnabled(!loading);
}

void ResultsPresenter::Prepared() {
    form_.pbgMain.SetVisible(false);
    for (ui::ProgressBar* bar : {&form_.pbgMain, &form_.pb1, &form_.pb2}) {
        bar->SetMax(100);
        bar->SetValue(0);
    }
}

void ResultsPresenter::Phase(std::string_view message) { form_.lblPercentageCompleted.SetCaption(std::string(message)); }

void ResultsPresenter::Skipped(ScanPhase phase) {
    const std::string text = CounterText(0, true, messages_);
    if (phase == ScanPhase::Processes) {
        skipped_.processes = true;
        form_.lblMemoryInspected.SetCaption(text);
    } else if (phase == ScanPhase::Registry) {
        skipped_.registry = true;
        form_.lblRegistryInspected.SetCaption(text);
    }
}

void ResultsPresenter::ShowCounters(const ScanCounters& counters) {
    // A scan switched off keeps its not-selected text.
    if (!skipped_.processes) form_.lblMemoryInspected.SetCaption(ToDecimal(counters.processesInspected));
    if (!skipped_.registry) form_.lblRegistryInspected.SetCaption(ToDecimal(counters.registryInspected));
    form_.lblFilesFolderInspected.SetCaption(ToDecimal(counters.filesInspected));
    form_.lblSoftwareFound.SetCaption(ToDecimal(counters.itemsFound));
    form_.lblRemovePicSoftwareFound.SetCaption(ToDecimal(counters.itemsFound));
}

void ResultsPresenter::Item(std::string_view text, std::int16_t scanPercent, std::int16_t overallPercent,
                            const ScanCounters& counters, bool now) {
    if (!now) {
        CountOne(throttle_);
        if (throttle_ < kReportsPerRefresh) return;
        throttle_ = 0;
    }
    ShowCounters(counters);
    form_.lblStatus.SetCaption(FilterStatusText(text));
    ShowPercent(form_.pb1, scanPercent);
    ShowPercent(form_.pb2, overallPercent);
}

void ResultsPresenter::Counted(const ScanCounters& counters) {
    ShowCounters(counters);
    throttle_ = 0;
}

void ResultsPresenter::Status(std::string_view text) { form_.lblStatus.SetCaption(std::string(text)); }

void ResultsPresenter::Percentages(std::int16_t scanPercent, std::int16_t overallPercent) {
    ShowPercent(form_.pb1, scanPercent);
    ShowPercent(form_.pb2, overallPercent);
}

void ResultsPresenter::Walked(double done, double expected) {
    form_.pbgMain.SetMax(expected);
    form_.pbgMain.SetValue(done);
    form_.lblStatus.SetVisible(true);
}

void ResultsPresenter::Found(const Detection& detection) {
    // A running program was stopped there and then: it has nothing to tick.
    if (!Removable(detection)) return;
    ui::ListView& list = form_.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    const int icon = KindIcon(detection.kind);
    const std::size_t row = list.Add(ShownName(detection), icon, icon);
    list.SetId(row, detection.id);
    list.SetSubItem(row, 1, detection.location);
    if (!detection.type.name.empty()) list.SetSubItem(row, 2, detection.type.name);
    // A type the catalogue lacks has neither risk nor details to show.
    if (!detection.type.risk.empty()) {
        list.SetSubItem(row, 3, detection.type.risk);
        list.SetSubItem(row, 4, detection.type.details);
    }
}

void ResultsPresenter::Logged(const ActivityEntry& entry) {
    ui::ListView& list = form_.lvwSpywareFound;
    const std::size_t row = list.Add(entry.name, ActivityIcon(entry.kind));
    list.SetSubItem(row, 1, entry.details);
}

void ResultsPresenter::Traced(std::int32_t traces) { form_.lbltracesFound.SetCaption(ToDecimal(traces)); }

void ResultsPresenter::RunningPrograms(std::int32_t count) {
    form_.lblTotalNoOfRunningItems.SetCaption(ToDecimal(count));
}

void ResultsPresenter::Show(ScanResults results) { results_ = std::move(results); }

std::vector<Detection> ResultsPresenter::Ticked() const {
    std::vector<Detection> ticked;
    for (const ui::ListItem& row : form_.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Rows()) {
        if (!row.checked) continue;
        if (const Detection* detection = results_.Find(row.id)) ticked.push_back(*detection);
    }
    return ticked;
}

bool ResultsPresenter::AnyTicked() const {
    const auto& rows = form_.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Rows();
    return std::any_of(rows.begin(), rows.end(), [](const ui::ListItem& row) { return row.checked; });
}

void ResultsPresenter::SelectAll() {
    ui::ListView& list = form_.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    for (std::size_t row = 0; row < list.Count(); ++row) list.SetChecked(row, true);
}

void ResultsPresenter::ShowRemoval(const RemovalReport& report) {
    ui::ListView& list = form_.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    for (std::size_t row = list.Count(); row-- > 0;) {
        switch (report.ResultOf(list.Item(row).id)) {
        case RemovalResult::Removed: list.RemoveAt(row); break;
        case RemovalResult::Failed:
        case RemovalResult::NotFound: list.SetChecked(row, false); break;
        case RemovalResult::NotTried: break;
        }
    }
}

void ResultsPresenter::Drop(const std::vector<DetectionId>& ids) {
    ui::ListView& list = form_.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    for (std::size_t row = list.Count(); row-- > 0;) {
        if (std::find(ids.begin(), ids.end(), list.Item(row).id) != ids.end()) list.RemoveAt(row);
    }
}

}  // namespace bastion
