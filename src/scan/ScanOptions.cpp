#include "scan/ScanOptions.h"

#include "services/settings/SettingKeys.h"

namespace bastion {

namespace {

// Every one of these options is on unless stored otherwise ("1" and "True"
// read alike).
bool ReadOption(const services::SettingsStore& settings, const services::SettingKey& key,
                const std::optional<bool>& overridden) {
    return overridden ? *overridden : settings.ReadTruth(key.section, key.name, true);
}

}  // namespace

ScanOptions StoredScanOptions::Current() const {
    namespace keys = services::settings;
    ScanOptions options;
    options.scanCookies = ReadOption(settings_, keys::kChkScanCookies, overrides.scanCookies);
    options.sweepMemory = ReadOption(settings_, keys::kChkSweepMemory, overrides.sweepMemory);
    options.scanRegistry = ReadOption(settings_, keys::kChkScanRegistry, overrides.scanRegistry);
    options.makeLog = ReadOption(settings_, keys::kChkMakeLog, overrides.makeLog);
    options.walkThreads = overrides.walkThreads.value_or(settings_.ReadTruth(keys::kChkParallelWalk) ? 0 : 1);
    return options;
}

}  // namespace bastion
