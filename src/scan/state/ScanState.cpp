#include "scan/state/ScanState.h"

#include <utility>

namespace bastion {

std::string RegistryLocationInView(std::string_view location, platform::RegView view) {
    std::string shown(location);
    if (view == platform::RegView::Bits32) shown.append(kThirtyTwoBitViewSuffix);
    return shown;
}

namespace {

// The log lists a detection by what it is: a folder met by a walk, named
// "<threat> Directory" among the results, is logged as its threat with
// the file icon, as it always was.
ActivityKind LoggedAs(DetectionKind kind) {
    switch (kind) {
    case DetectionKind::Cookie: return ActivityKind::Cookie;
    case DetectionKind::Registry: return ActivityKind::Registry;
    case DetectionKind::Folder: return ActivityKind::Folder;
    case DetectionKind::RunningProgram: return ActivityKind::RunningProgram;
    case DetectionKind::File: break;
    }
    return ActivityKind::File;
}

}  // namespace

void ScanState::Begin(ScanProgress& progress) {
    results_ = {};
    progress_ = &progress;
    running_ = true;
    progress_->Begun();
}

ScanResults ScanState::End() {
    ScanResults results = std::move(results_);
    results_ = {};
    progress_ = &silent_;
    running_ = false;
    return results;
}

void ScanState::SetPhase(std::string_view message) {
    phaseCaption_.assign(message).append(": ");
}

void ScanState::AddExcluded(std::string location) {
    AddActivity(ActivityKind::Excluded, "EXCLUDED", std::move(location));
}

void ScanState::AddActivity(ActivityKind kind, std::string name, std::string details) {
    results_.activity.push_back({kind, std::move(name), std::move(details)});
    progress_->Logged(results_.activity.back());
}

const Detection& ScanState::AddDetection(DetectionKind kind, std::string threat, std::string_view type,
                                         std::string location, DetectedItem item) {
    results_.detections.push_back(
        {++lastId_, kind, std::move(threat), ThreatTypeOf(type), std::move(location), std::move(item)});
    progress_->Found(results_.detections.back());
    return results_.detections.back();
}

void ScanState::ReportDetection(DetectionKind kind, const std::string& threat, std::string_view type,
                                const std::string& location, DetectedItem item) {
    AddActivity(LoggedAs(kind), threat, location);
    AddDetection(kind, threat, type, location, std::move(item));
    CountOne(counters.itemsFound);
}

void ScanState::CountTrace() {
    CountOne(counters.traces);
    progress_->Traced(counters.traces);
}

void ScanState::SetRunningPrograms(std::int32_t count) {
    counters.runningPrograms = count;
    progress_->RunningPrograms(count);
}

void ScanState::ShowProgress(std::string_view text, std::int16_t scanPercent, std::int16_t overallPercent) {
    progress_->Item(text, scanPercent, overallPercent, counters, false);
}

void ScanState::ShowProgressNow(std::string_view text, std::int16_t scanPercent, std::int16_t overallPercent) {
    progress_->Item(text, scanPercent, overallPercent, counters, true);
}

void ScanState::ShowCounters() { progress_->Counted(counters); }

}  // namespace bastion
