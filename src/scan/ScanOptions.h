// Which parts a scan runs and whether it leaves a report. The program reads
// them from the settings store at every scan; the console scanner can
// override each for one run without storing anything.
#pragma once

#include <optional>

#include "services/settings/SettingsStore.h"

namespace bastion {

struct ScanOptions {
    bool scanCookies = true;   // "chkScanCookies"
    bool sweepMemory = true;   // "chkSweepMemory": the process scan
    bool scanRegistry = true;  // "chkScanRegistry"
    bool makeLog = true;       // "chkMakeLog": the scan report
    // The threads that list folders in a walk: 0 as many as the processor
    // runs at once (at most 4), 1 the walk's own alone ("chkParallelWalk"
    // cleared), or a number asked for.
    int walkThreads = 0;
};

class ScanOptionSource {
public:
    virtual ~ScanOptionSource() = default;
    // The options for the scan that starts now.
    virtual ScanOptions Current() const = 0;
};

// Per-run replacements of stored options; an empty one keeps the stored value.
struct ScanOptionOverrides {
    std::optional<bool> scanCookies;
    std::optional<bool> sweepMemory;
    std::optional<bool> scanRegistry;
    std::optional<bool> makeLog;
    std::optional<int> walkThreads;
};

// The options as stored in "OptionAndSettings", read afresh at every scan:
// the cookie scan and the report with default 1, the process and registry
// scans with default "True", each "1"/"0" or "True"/"False".
class StoredScanOptions final : public ScanOptionSource {
public:
    explicit StoredScanOptions(const services::SettingsStore& settings) : settings_(settings) {}

    ScanOptions Current() const override;

    ScanOptionOverrides overrides;

private:
    const services::SettingsStore& settings_;
};

}  // namespace bastion
