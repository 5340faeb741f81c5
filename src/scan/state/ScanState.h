// The run-wide state of the scan engine: the results of the scan in
// progress, the definition line counts, the stop flag and the phase
// caption, and the front end's progress observer while a scan runs. One
// object, owned by whoever runs scans and handed to them by reference; a
// scan begins and ends it, and the scans add to it.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "scan/results/ScanProgress.h"
#include "scan/results/ScanResults.h"

namespace bastion {

// Lines of each definition file: the denominators of the progress
// percentages, and the total is the definition count of the status page.
struct DefinitionCounts {
    std::int32_t cookies = 0;      // BlockedCookies.dat
    std::int32_t executables = 0;  // ExeDefinition.dat
    std::int32_t registry = 0;     // RegistryDefinition.dat
    std::int32_t files = 0;        // FileDefinition.dat and DirectoryDefinition.dat together
    std::int32_t total = 0;        // all of them, the content definitions too
    std::int32_t content = 0;      // ContentDefinition.dat
};

// What the results show as the location of an item found in the 32-bit
// registry view: the location and this. Exclusions compare with the
// location as shown.
inline constexpr std::string_view kThirtyTwoBitViewSuffix = " (32-bit view)";
std::string RegistryLocationInView(std::string_view location, platform::RegView view);

class ScanState {
public:
    ScanState() = default;
    ScanState(const ScanState&) = delete;
    ScanState& operator=(const ScanState&) = delete;

    // A scan starts: no detection or entry, every counter 0, no scan
    // skipped; progress hears of everything added until End.
    void Begin(ScanProgress& progress);
    // The scan is over: its results, handed on. The state keeps empty ones
    // and tells nobody of what is added outside a scan.
    ScanResults End();

    const ScanResults& Results() const { return results_; }
    ScanProgress& Progress() const { return *progress_; }

    // True between Begin and End.
    bool ScanInProgress() const { return running_; }

    // The phase message followed by ": ", shown above the item examined.
    void SetPhase(std::string_view message);
    const std::string& PhaseCaption() const { return phaseCaption_; }

    // Set by the front end (Stop, Ctrl+C, the program's end); the scans
    // test it between items. It stays set after a stopped scan until the
    // front end clears it for the next. Atomic: the walk's listing threads
    // read it, and Ctrl+C sets it from the console's own handler thread.
    bool StopRequested() const { return stopRequested_.load(std::memory_order_relaxed); }
    void RequestStop() { stopRequested_.store(true, std::memory_order_relaxed); }
    void ClearStop() { stopRequested_.store(false, std::memory_order_relaxed); }

    // Set while the window's Pause holds the scan: the scan's own thread
    // waits in the window's message box anyway, and the walk's listing
    // threads take no further folder until it is cleared.
    bool PauseRequested() const { return pauseRequested_.load(std::memory_order_relaxed); }
    void SetPaused(bool paused) { pauseRequested_.store(paused, std::memory_order_relaxed); }

    // --- what the scans add ------------------------------------------------
    // An item on the user's exclusion list: logged as "EXCLUDED", never
    // counted or queued.
    void AddExcluded(std::string location);
    void AddActivity(ActivityKind kind, std::string name, std::string details);
    // A detection with an id of its own; counts nothing.
    const Detection& AddDetection(DetectionKind kind, std::string threat, std::string_view type,
                                  std::string location, DetectedItem item);
    // A detection with its activity entry (the threat and the location),
    // and one more item found.
    void ReportDetection(DetectionKind kind, const std::string& threat, std::string_view type,
                         const std::string& location, DetectedItem item);
    // One more item queued for removal.
    void CountTrace();
    void SetRunningPrograms(std::int32_t count);

    // --- the progress observer, with the counters of the moment ---------------
    void ShowProgress(std::string_view text, std::int16_t scanPercent, std::int16_t overallPercent);
    // The same, to be shown whatever the front end's pace.
    void ShowProgressNow(std::string_view text, std::int16_t scanPercent, std::int16_t overallPercent);
    // The counters to be shown now, so the final numbers show.
    void ShowCounters();

private:
    ScanResults results_;

public:
    // Counted when the program starts and after every definition update.
    DefinitionCounts definitions;
    // The counters and skipped scans of the results in progress.
    ScanCounters& counters = results_.counters;
    SkippedScans& skipped = results_.skipped;

private:
    ScanProgress silent_;
    ScanProgress* progress_ = &silent_;
    DetectionId lastId_ = 0;
    bool running_ = false;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> pauseRequested_{false};
    std::string phaseCaption_;
};

}  // namespace bastion
