// The machine settings store: one string value per key under
// HKEY_LOCAL_MACHINE\SOFTWARE\<company>\<application>\<section>, each of the
// three names trimmed of blanks. It holds first-run flags that count for
// every user of the machine. A user without write access there is told so
// in the "Permission Denied" box, unless they chose not to be told again.
#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "services/dialogs/Dialogs.h"
#include "services/settings/SettingKeys.h"

namespace bastion::services {

class SettingsStore;

// Error numbers are offsets in the application range of error numbers
// (kApplicationErrorBase + number).
inline constexpr long kApplicationErrorBase = -2147221504;
inline constexpr int kErrorAppNameEmpty = 1000;
inline constexpr int kErrorSectionEmpty = 1001;
inline constexpr int kErrorKeyEmpty = 1002;
// Plus the system error code, or plus the registry type of a value that is
// not a string.
inline constexpr int kErrorRegistryBase = 2000;

struct MachineSettingResult {
    // What was read: the stored text, or the default.
    std::string value;
    // 0 when the call succeeded.
    int errorNumber = 0;
    std::string errorDescription;

    bool Failed() const { return errorNumber != 0; }
};

class MachineSettingsStore {
public:
    // userSettings keeps "IgnorePermissionDeniedError"; the box names
    // productName.
    MachineSettingsStore(platform::Registry& registry, std::string companyName, std::string productName,
                         SettingsStore& userSettings, Dialogs& dialogs);

    // The stored text or the default; errors for an empty name, a key that
    // cannot be opened other than by being missing, and a value that is not
    // a string.
    MachineSettingResult ReadMachineSetting(std::string_view application, std::string_view section,
                                            std::string_view key, std::string_view defaultValue);
    // Stores a string value, asking Abort, Retry or Ignore when the key
    // cannot be created or the value cannot be set. Failed() when the value
    // was not stored.
    MachineSettingResult WriteMachineSetting(std::string_view application, std::string_view section,
                                             std::string_view key, std::string_view value);

    // The same under the product name.
    MachineSettingResult Read(const SettingKey& key);
    MachineSettingResult Write(const SettingKey& key, std::string_view value);
    // One attempt, without the "Permission Denied" box: for notes that the
    // program keeps per user as well, where a standard user must not be
    // asked at every start.
    MachineSettingResult WriteQuietly(const SettingKey& key, std::string_view value);

    // SOFTWARE\<company>\<application>\<section>, names trimmed.
    std::string KeyPath(std::string_view application, std::string_view section) const;

private:
    // The user's answer to a failed step: true to try the step again.
    bool AskRetryAfterPermissionFailure();
    MachineSettingResult Store(std::string_view application, std::string_view section, std::string_view key,
                               std::string_view value, bool askOnFailure);

    platform::Registry& registry_;
    std::string companyName_;
    std::string productName_;
    SettingsStore& userSettings_;
    Dialogs& dialogs_;
};

}  // namespace bastion::services
