#include "scan/state/ScanState.h"

#include <limits>

#include "common/Text.h"

namespace bastion {

void CountOne(std::int32_t& counter) {
    if (counter < std::numeric_limits<std::int32_t>::max()) {
        ++counter;
    }
}

std::string RegistryViewText(platform::RegView view) {
    switch (view) {
    case platform::RegView::Bits64: return "64";
    case platform::RegView::Bits32: return "32";
    case platform::RegView::Default: break;
    }
    return {};
}

platform::RegView RegistryViewFromText(std::string_view text) {
    if (text == "64") return platform::RegView::Bits64;
    if (text == "32") return platform::RegView::Bits32;
    return platform::RegView::Default;
}

std::string RegistryLocationInView(std::string_view location, platform::RegView view) {
    std::string shown(location);
    if (view == platform::RegView::Bits32) shown.append(kThirtyTwoBitViewSuffix);
    return shown;
}

ScanState::ScanState(ui::FrmMain& form) : form_(&form) {}

void ScanState::Reset() {
    counters = {};
    throttle = 0;
    pendingLink_ = 0;
    skipped = {};
    for (ui::Label* label : {&form_->lblMemoryInspected, &form_->lblRegistryInspected,
                             &form_->lblFilesFolderInspected, &form_->lblSoftwareFound,
                             &form_->lblRemovePicSoftwareFound, &form_->lbltracesFound,
                             &form_->lblTotalNoOfRunningItems}) {
        label->SetCaption("0");
    }
    for (ui::ListView* list : {&ActivityList(), &ResultsList(), &FileQueue(), &NotFoundList(),
                               &RegistryQueue(), &CookieQueue()}) {
        list->Clear();
    }
}

bool ScanState::ScanInProgress() const {
    return !form_->cmdScan.Enabled();
}

void ScanState::SetPhase(std::string_view message) {
    phaseCaption_.assign(message).append(": ");
}

void ScanState::AddExcludedRow(std::string location) {
    AddActivityRow("EXCLUDED", ui::kIconExcluded, std::move(location));
}

std::size_t ScanState::AddActivityRow(std::string text, int smallIcon, std::string details) {
    ui::ListView& list = ActivityList();
    std::size_t row = list.Add(std::move(text), smallIcon);
    list.SetSubItem(row, 1, std::move(details));
    return row;
}

std::size_t ScanState::AddResultRow(std::string text, int smallIcon, std::string location, std::string type,
                                    int icon) {
    ui::ListView& list = ResultsList();
    std::size_t row = list.Add(std::move(text), smallIcon, icon < 0 ? smallIcon : icon);
    list.SetTag(row, ToDecimal(smallIcon));
    list.SetLink(row, pendingLink_);
    pendingLink_ = 0;
    list.SetSubItem(row, 1, std::move(location));
    if (!type.empty()) {
        list.SetSubItem(row, 2, std::move(type));
    }
    return row;
}

std::size_t ScanState::Queued(ui::ListView& queue, std::size_t row) {
    pendingLink_ = ++lastLink_;
    queue.SetLink(row, pendingLink_);
    return row;
}

std::size_t ScanState::AddFileQueueRow(std::string path, std::string tag) {
    ui::ListView& list = FileQueue();
    std::size_t row = list.Add(std::move(path));
    if (!tag.empty()) {
        list.SetSubItem(row, 1, std::move(tag));
    }
    return Queued(list, row);
}

std::size_t ScanState::AddRegistryQueueRow(platform::Hive hive, std::string key, std::string value,
                                           std::string threat, platform::RegView view) {
    ui::ListView& list = RegistryQueue();
    std::size_t row = list.Add(ToDecimal(platform::HiveHandleNumber(hive)));
    list.SetSubItem(row, 1, std::move(key));
    list.SetSubItem(row, 2, std::move(value));
    list.SetSubItem(row, 3, std::move(threat));
    list.SetSubItem(row, 4, RegistryViewText(view));
    return Queued(list, row);
}

std::size_t ScanState::AddCookieQueueRow(std::string path) {
    return Queued(CookieQueue(), CookieQueue().Add(std::move(path)));
}

void ScanState::IncrementTracesFound() {
    long long shown = 0;
    if (!ParseWholeNumber(form_->lbltracesFound.Caption(), shown) || shown < 0) {
        shown = 0;
    }
    if (shown < std::numeric_limits<long long>::max()) {
        ++shown;
    }
    form_->lbltracesFound.SetCaption(ToDecimal(shown));
}

void ScanState::ReportDetection(const std::string& threat, const std::string& location, const std::string& type,
                                int smallIcon) {
    AddActivityRow(threat, smallIcon, location);
    AddResultRow(threat, smallIcon, location, type);
    CountOne(counters.itemsFound);
}

}  // namespace bastion
