// What the main window shows of a scan. While a scan runs it hears the
// scan's progress and fills the scan page: the counters, the status line,
// the bars and the activity list (the counters on every 25th report only,
// which is as much as a scan of tens of thousands of items can afford to
// show), and the results page's list, one row per detection found. A row
// carries its detection's id, so that a tick names its detection whatever
// order the list is sorted in. Afterwards it keeps the scan's results for
// the commands of the results page.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "removal/RemovalResult.h"
#include "scan/results/ScanProgress.h"
#include "scan/results/ScanResults.h"
#include "services/messages/MessageCatalogue.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

// The icon of a detection's kind in the results list and of an activity
// entry's kind in the activity list.
int KindIcon(DetectionKind kind);
int ActivityIcon(ActivityKind kind);

class ResultsPresenter final : public ScanProgress {
public:
    ResultsPresenter(ui::FrmMain& form, const services::MessageCatalogue& messages);
    ResultsPresenter(const ResultsPresenter&) = delete;
    ResultsPresenter& operator=(const ResultsPresenter&) = delete;

    // A scan begins: every counter label "0" (the status and phase labels
    // too), both lists emptied.
    void Begun() override;
    void Loading(bool loading) override;
    void Prepared() override;
    void Phase(std::string_view message) override;
    void Skipped(ScanPhase phase) override;
    void Item(std::string_view text, std::int16_t scanPercent, std::int16_t overallPercent,
              const ScanCounters& counters, bool now) override;
    void Counted(const ScanCounters& counters) override;
    void Status(std::string_view text) override;
    void Percentages(std::int16_t scanPercent, std::int16_t overallPercent) override;
    void Walked(double done, double expected) override;
    void Found(const Detection& detection) override;
    void Logged(const ActivityEntry& entry) override;
    void Traced(std::int32_t traces) override;
    void RunningPrograms(std::int32_t count) override;

    // The results of the scan that has ended, which the rows show.
    void Show(ScanResults results);
    const ScanResults& Results() const { return results_; }

    // The detections of the ticked rows, in the rows' order.
    std::vector<Detection> Ticked() const;
    bool AnyTicked() const;
    // Select All: every row ticked.
    void SelectAll();
    // After a removal: the row of every detection removed leaves the list;
    // one that was tried and is still there (or no longer found) stays,
    // unticked; one the removal did not reach stays as it was.
    void ShowRemoval(const RemovalReport& report);
    // The rows of these detections leave the list (excluded by the user).
    void Drop(const std::vector<DetectionId>& ids);

private:
    void ShowCounters(const ScanCounters& counters);

    ui::FrmMain& form_;
    const services::MessageCatalogue& messages_;
    ScanResults results_;
    SkippedScans skipped_;
    // Reports since the labels last changed.
    std::int32_t throttle_ = 0;
};

}  // namespace bastion
