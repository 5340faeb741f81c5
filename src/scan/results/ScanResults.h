// Everything a scan leaves: how it ended, when it ran, its detections in
// the order found, the entries of its activity log and its counters. The
// scan hands it to its front end at the end; removal and the report work
// from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scan/results/Detection.h"

namespace bastion {

enum class ScanOutcome {
    Completed,
    Cancelled,              // the stop flag was set
    DefinitionsMissing,     // the definition set was incomplete (and was reset): nothing scanned
    DefinitionsUnreadable,  // a definition file could not be read to its end: nothing scanned
    NothingChosen,          // no file or folder was given to a File or Folder Scan
    AlreadyRunning,         // another operation was running; nothing happened
};

struct ScanCounters {
    std::int32_t processesInspected = 0;
    std::int32_t registryInspected = 0;
    std::int32_t filesInspected = 0;  // files and folders
    // Every detection, running programs included.
    std::int32_t itemsFound = 0;
    // Every item queued for removal, a registry value whose definition
    // names no threat (and is no detection of its own) included.
    std::int32_t traces = 0;
    // Running processes the process scan looked at.
    std::int32_t runningPrograms = 0;
    // Files of a size some content definition has that could not be read.
    std::int32_t contentUnreadable = 0;
    // Files of such a size whose content lies elsewhere (a cloud service):
    // reading them would have downloaded them.
    std::int32_t contentElsewhere = 0;
    friend bool operator==(const ScanCounters&, const ScanCounters&) = default;
};

// Scans the options switched off for this run: their counter tells that
// they were not selected rather than a number.
struct SkippedScans {
    bool processes = false;
    bool registry = false;
};

// What the activity log says of an entry, which is what its icon shows.
enum class ActivityKind { Cookie, Registry, File, Folder, Excluded, RunningProgram };

// One line of the scan's activity log: every detection as the scan met it,
// every item left alone because the user excluded it ("EXCLUDED" and its
// location), and every running program found, with what became of it.
struct ActivityEntry {
    ActivityKind kind = ActivityKind::File;
    std::string name;
    std::string details;
    friend bool operator==(const ActivityEntry&, const ActivityEntry&) = default;
};

// A detected program that was to be stopped and still runs.
struct ProgramNotStopped {
    std::string fileName;
    // Only a program with administrator rights may stop it.
    bool needsAdministrator = false;
    friend bool operator==(const ProgramNotStopped&, const ProgramNotStopped&) = default;
};

struct ScanResults {
    ScanOutcome outcome = ScanOutcome::Completed;
    // Start and finish as general date texts.
    std::string started;
    std::string finished;
    std::vector<Detection> detections;
    std::vector<ActivityEntry> activity;
    ScanCounters counters;
    SkippedScans skipped;
    // The running threats the scan could not stop, in the order found.
    std::vector<ProgramNotStopped> notStopped;

    // nullptr when no detection has the id.
    const Detection* Find(DetectionId id) const;
};

// Adds one; a counter that has reached its largest value stays there.
void CountOne(std::int32_t& counter);

}  // namespace bastion
