// The scan engine's entry point: a scan of one kind over the places asked
// for, start to finish, its progress told to an observer and its results
// handed back. It asks nothing and shows nothing; the window and the
// console scanner each drive it and show what it tells.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "definitions/DefinitionTables.h"
#include "definitions/ExclusionList.h"
#include "definitions/SafetyList.h"
#include "scan/ScanContext.h"
#include "scan/ScanOptions.h"
#include "scan/processes/ProcessScanner.h"
#include "scan/results/ScanProgress.h"
#include "scan/results/ScanResults.h"
#include "scan/state/ScanState.h"
#include "services/Services.h"

namespace bastion {

// Everything a scan, and the memory shield's look at the running programs,
// reads and writes: the program's services, and the tables and lists of the
// scan; the referenced objects outlive the engine.
struct ScanEnvironment : services::Services {
    SafetyList& safety;
    ExclusionList& exclusions;
    DefinitionTables& tables;
    ScanState& state;
    ProcessScanner& processScanner;
};

// What one scan works with, the tokens resolved for it.
ScanContext MakeScanContext(const ScanEnvironment& environment, const PathTokens& tokens);
// The same with another pump (the shields' quiet one).
ScanContext MakeScanContext(const ScanEnvironment& environment, const PathTokens& tokens, services::EventPump& pump);

enum class ScanKind {
    Smart,       // cookies, running programs, registry, the places the definitions name
    FullSystem,  // the drives walked, then running programs and registry
    File,        // one file
    Folder,      // a folder and everything below it
};

struct ScanRequest {
    ScanKind kind = ScanKind::Smart;
    // A Full System Scan: the roots of the drives to walk, in order
    // ("C:\"). A File Scan: the file; a Folder Scan: the folder (a "\" is
    // added when it has none). None (or a blank one) for a File or Folder
    // Scan: the user chose nothing, and nothing is scanned.
    std::vector<std::string> places;
    ScanOptions options;
};

class ScanEngine {
public:
    explicit ScanEngine(const ScanEnvironment& environment);
    ScanEngine(const ScanEngine&) = delete;
    ScanEngine& operator=(const ScanEngine&) = delete;

    // Runs the scan: results emptied (the stop flag is left as it is), the
    // safety list built, the definition
    // set checked (an incomplete one is reset: nothing is scanned), the
    // definitions the kind needs loaded, the scans of the kind in order
    // until a stop request, and the scan dates stored ("lblLastScan"; a
    // Full System Scan also "lblLastFullScan"), whatever the outcome.
    ScanResults Scan(const ScanRequest& request, ScanProgress& progress);

    // The scan ends at its next look at the flag. The flag stays set after
    // the scan it stopped: a front end clears it when it starts the next
    // one, before it asks the user for anything, so that a request made
    // meanwhile (the program's end) stops that scan too.
    void RequestStop() { env_.state.RequestStop(); }
    void ClearStop() { env_.state.ClearStop(); }
    bool StopRequested() const { return env_.state.StopRequested(); }
    bool Running() const { return env_.state.ScanInProgress(); }

private:
    ScanOutcome RunKind(ScanContext& context, const ScanRequest& request);
    bool PrepareKind();
    void SmartScan(ScanContext& context, const ScanOptions& options);
    void FullSystemScan(ScanContext& context, const ScanRequest& request);
    void ProcessPhase(ScanContext& context, const ScanOptions& options);
    void RegistryPhase(ScanContext& context, const ScanOptions& options);
    void SetPhase(const std::string& message);
    std::string Message(std::string_view key) const;
    std::string Now() const;

    ScanEnvironment env_;
    std::int32_t cookieFilesExamined_ = 0;
};

}  // namespace bastion
