// What a running scan tells its front end: the phase it is in, the item it
// examines with the percentages done, its counters, and every detection and
// activity entry as it is added. The scan reports once per definition line
// or file; the front end decides how much of that it shows (the window
// refreshes its labels on every 25th report only). Every call comes on the
// scan's thread, between two items. Each does nothing unless overridden.
#pragma once

#include <cstdint>
#include <string_view>

#include "scan/results/ScanResults.h"

namespace bastion {

// The scans in the order the percentages count them.
enum class ScanPhase { Cookies, Processes, Registry, Files };

class ScanProgress {
public:
    virtual ~ScanProgress() = default;

    // A scan starts: no detection, no entry, every counter 0.
    virtual void Begun() {}
    // The definitions are there: both percentages start from 0, and the
    // bar of a walk is put away until a walk starts.
    virtual void Prepared() {}
    // The file and directory definitions are being loaded (true), or are
    // loaded: nothing is scanned meanwhile, and the load is not to be
    // paused or stopped.
    virtual void Loading(bool /*loading*/) {}
    // A phase starts, with its message ("Scanning registry").
    virtual void Phase(std::string_view /*message*/) {}
    // A phase the options leave out.
    virtual void Skipped(ScanPhase /*phase*/) {}
    // The item examined: its text (a name or path and the phase, on lines
    // of their own), the phase's and the whole scan's percentages (negative:
    // unchanged) and the counters of the moment. now: this report is to be
    // shown whatever the front end's pace.
    virtual void Item(std::string_view /*text*/, std::int16_t /*scanPercent*/, std::int16_t /*overallPercent*/,
                      const ScanCounters& /*counters*/, bool /*now*/) {}
    // The counters as they stand, to be shown now (after a walk and at the
    // end of the scan).
    virtual void Counted(const ScanCounters& /*counters*/) {}
    // A status line of its own, shown as it is ("Finished Inpecting
    // Cookies").
    virtual void Status(std::string_view /*text*/) {}
    // The percentages alone (negative: unchanged).
    virtual void Percentages(std::int16_t /*scanPercent*/, std::int16_t /*overallPercent*/) {}
    // A walk's progress: done out of expected (bytes of a drive, or steps).
    virtual void Walked(double /*done*/, double /*expected*/) {}

    // A detection, and an entry of the activity log, as they are added.
    virtual void Found(const Detection& /*detection*/) {}
    virtual void Logged(const ActivityEntry& /*entry*/) {}
    // The items queued for removal so far, and the running processes looked
    // at: shown as they change.
    virtual void Traced(std::int32_t /*traces*/) {}
    virtual void RunningPrograms(std::int32_t /*count*/) {}
};

}  // namespace bastion
