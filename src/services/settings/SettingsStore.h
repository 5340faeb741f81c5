// The per-user settings store: string values addressed by application name,
// section and key. It lives where the Windows per-application settings
// facility keeps it, HKEY_CURRENT_USER\Software\VB and VBA Program
// Settings\<application>\<section>, one string value per key, because
// outside readers (of "STATUS", "SHOW", "RESTART") and sibling products look
// for it there. Reads never fail: anything missing reads as the default.
#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "services/settings/SettingKeys.h"

namespace bastion::services {

class SettingsStore {
public:
    // applicationName: the program's own, the product name.
    SettingsStore(platform::Registry& registry, std::string applicationName);

    const std::string& ApplicationName() const { return applicationName_; }

    // The stored text, or defaultValue when the application, section or key
    // is missing (or the value is not a string).
    std::string ReadSetting(std::string_view application, std::string_view section, std::string_view key,
                            std::string_view defaultValue) const;
    // Creates the section when needed; false when the value could not be
    // stored (nothing depends on it: callers go on either way).
    bool WriteSetting(std::string_view application, std::string_view section, std::string_view key,
                      std::string_view value);

    // The same under the program's own application name.
    std::string ReadSetting(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    bool WriteSetting(std::string_view section, std::string_view key, std::string_view value);
    std::string Read(const SettingKey& key) const;
    std::string Read(const SettingKey& key, std::string_view defaultValue) const;
    bool Write(const SettingKey& key, std::string_view value);

    // Typed readers: a stored value that does not convert reads as the
    // default, as a missing one does.
    long long ReadNumber(std::string_view section, std::string_view key, long long defaultValue) const;
    long long ReadNumber(const SettingKey& key) const;
    bool ReadTruth(std::string_view section, std::string_view key, bool defaultValue) const;
    bool ReadTruth(const SettingKey& key) const;

    // Typed writers: decimal text, "True"/"False", "1"/"0".
    bool WriteNumber(const SettingKey& key, long long value);
    bool WriteTruth(const SettingKey& key, bool value);
    bool WriteCheck(const SettingKey& key, bool checked);

    // The registry key that holds a section.
    static std::string SectionPath(std::string_view application, std::string_view section);

private:
    platform::Registry& registry_;
    std::string applicationName_;
};

}  // namespace bastion::services
