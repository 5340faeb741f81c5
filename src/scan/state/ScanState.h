// The run-wide state every scan writes into: the result lists and labels of
// the main window, the counters, the definition line counts, the stop flag
// and the phase caption. One object, owned by the application and handed to
// the scans by reference; the controller resets it when a scan starts, and
// removal and the report read what the last scan left.
//
// The hidden queues removal works from, one row per detected item, each
// holding the place the item was really found:
// - file queue lvwFilesToBeDeleted: text = the full path of the file or
//   folder; sub-item 1 = the threat name, "FILE" (a folder met by a walk) or
//   nothing (a folder at a known location).
// - registry queue lvwRegistryToBeDeleted: text = the hive's handle as a
//   signed decimal number; sub-item 1 = the key path as the definition
//   writes it; 2 = the value name (empty for a whole key); 3 = the threat
//   name; 4 = the registry view the item was found in, "64" or "32"
//   (RegistryViewText; a row without it means the program's own view).
// - cookie queue lvwCookiesToDelete: text = the cookie file's full path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

struct ScanCounters {
    std::int32_t processesInspected = 0;  // lblMemoryInspected
    std::int32_t registryInspected = 0;   // lblRegistryInspected
    std::int32_t filesInspected = 0;      // files and folders, lblFilesFolderInspected
    std::int32_t itemsFound = 0;          // lblSoftwareFound, lblRemovePicSoftwareFound
    // Files of a size some content definition has that could not be read.
    std::int32_t contentUnreadable = 0;
    // Files of such a size whose content lies elsewhere (a cloud service):
    // reading them would have downloaded them.
    std::int32_t contentElsewhere = 0;
};

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

// Scans the user switched off for this run: their counter label shows the
// not-selected text for the whole scan instead of a number.
struct SkippedScans {
    bool processes = false;  // lblMemoryInspected
    bool registry = false;   // lblRegistryInspected
};

// The registry queue's view column, and back; "" and anything else read as
// the program's own view.
std::string RegistryViewText(platform::RegView view);
platform::RegView RegistryViewFromText(std::string_view text);

// What the results list shows as the location of an item found in the
// 32-bit registry view: the location and this. Exclusions compare with the
// location as shown.
inline constexpr std::string_view kThirtyTwoBitViewSuffix = " (32-bit view)";
std::string RegistryLocationInView(std::string_view location, platform::RegView view);

// Adds one; a counter that has reached its largest value stays there.
void CountOne(std::int32_t& counter);

class ScanState {
public:
    explicit ScanState(ui::FrmMain& form);
    ScanState(const ScanState&) = delete;
    ScanState& operator=(const ScanState&) = delete;

    ui::FrmMain& Form() const { return *form_; }

    // The lists of the last scan.
    ui::ListView& ActivityList() const { return form_->lvwSpywareFound; }
    ui::ListView& ResultsList() const { return form_->lvwPicRemoveListOfSpywareFoundAndToBeRemoved; }
    ui::ListView& FileQueue() const { return form_->lvwFilesToBeDeleted; }
    ui::ListView& RegistryQueue() const { return form_->lvwRegistryToBeDeleted; }
    ui::ListView& CookieQueue() const { return form_->lvwCookiesToDelete; }
    ui::ListView& NotFoundList() const { return form_->lvwFileNotFounds; }

    // Counters to 0 and their labels to "0", the lbltracesFound and
    // lblTotalNoOfRunningItems captions to "0", every list emptied, no scan
    // skipped. The stop flag and the phase caption are the controller's to
    // set.
    void Reset();

    // True while the controller runs a scan: it keeps cmdScan disabled for
    // exactly that time.
    bool ScanInProgress() const;

    // The phase message followed by ": ", shown above the item examined.
    void SetPhase(std::string_view message);
    const std::string& PhaseCaption() const { return phaseCaption_; }

    bool StopRequested() const { return stopRequested_; }
    void RequestStop() { stopRequested_ = true; }
    void ClearStop() { stopRequested_ = false; }

    // --- rows the scans share ---------------------------------------------
    // An item on the user's exclusion list: shown, never counted or queued.
    void AddExcludedRow(std::string location);
    std::size_t AddActivityRow(std::string text, int smallIcon, std::string details);
    // Sub-item 2 (the type) is written only when type is not empty. The large
    // icon is the small one unless given. The tag is the small icon number
    // as text: the kind of detection the report names. The row is linked to
    // the queue row added just before it (every scan queues an item and
    // then lists it), so that its tick reaches that row and no other.
    std::size_t AddResultRow(std::string text, int smallIcon, std::string location, std::string type,
                             int icon = -1);
    // Each queue row gets a link number of its own; the next results row
    // takes it. tag (sub-item 1) is the threat name, "FILE", or nothing.
    std::size_t AddFileQueueRow(std::string path, std::string tag = {});
    std::size_t AddRegistryQueueRow(platform::Hive hive, std::string key, std::string value, std::string threat,
                                    platform::RegView view);
    std::size_t AddCookieQueueRow(std::string path);
    // The caption of lbltracesFound counts queued items, one more per call.
    void IncrementTracesFound();
    // The activity row and the results row of a detection, and one more
    // item found.
    void ReportDetection(const std::string& threat, const std::string& location, const std::string& type,
                         int smallIcon);

    ScanCounters counters;
    DefinitionCounts definitions;
    SkippedScans skipped;
    // Calls of ShowScanProgress since the display last changed.
    std::int32_t throttle = 0;

private:
    std::size_t Queued(ui::ListView& queue, std::size_t row);

    ui::FrmMain* form_;
    std::uint64_t lastLink_ = 0;
    // The link of a queued item no results row has taken yet.
    std::uint64_t pendingLink_ = 0;
    bool stopRequested_ = false;
    std::string phaseCaption_;
};

}  // namespace bastion
