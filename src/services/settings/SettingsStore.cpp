#include "services/settings/SettingsStore.h"

#include "common/Text.h"
#include "services/settings/SettingValues.h"

namespace bastion::services {

namespace {

constexpr std::string_view kSettingsRoot = "Software\\VB and VBA Program Settings";
constexpr platform::Hive kUserHive = platform::Hive::CurrentUser;

// Without an application and a section the path would name the settings
// root itself; without a key, a section's default value.
bool Addressable(std::string_view application, std::string_view section, std::string_view key) {
    return !application.empty() && !section.empty() && !key.empty();
}

}  // namespace

SettingsStore::SettingsStore(platform::Registry& registry, std::string applicationName)
    : registry_(registry), applicationName_(std::move(applicationName)) {}

std::string SettingsStore::SectionPath(std::string_view application, std::string_view section) {
    std::string path(kSettingsRoot);
    path += '\\';
    path += application;
    path += '\\';
    path += section;
    return path;
}

std::string SettingsStore::ReadSetting(std::string_view application, std::string_view section,
                                       std::string_view key, std::string_view defaultValue) const {
    if (!Addressable(application, section, key)) return std::string(defaultValue);
    platform::RegValue value;
    if (registry_.QueryValue(kUserHive, SectionPath(application, section), std::string(key), value) !=
        platform::kRegOk)
        return std::string(defaultValue);
    if (value.type != platform::RegType::String && value.type != platform::RegType::ExpandString)
        return std::string(defaultValue);
    return value.text;
}

bool SettingsStore::WriteSetting(std::string_view application, std::string_view section, std::string_view key,
                                 std::string_view value) {
    if (!Addressable(application, section, key)) return false;
    const std::string path = SectionPath(application, section);
    if (registry_.CreateKey(kUserHive, path) != platform::kRegOk) return false;
    return registry_.SetValue(kUserHive, path, std::string(key), platform::RegValue::String(std::string(value))) ==
           platform::kRegOk;
}

std::string SettingsStore::ReadSetting(std::string_view section, std::string_view key,
                                       std::string_view defaultValue) const {
    return ReadSetting(applicationName_, section, key, defaultValue);
}

bool SettingsStore::WriteSetting(std::string_view section, std::string_view key, std::string_view value) {
    return WriteSetting(applicationName_, section, key, value);
}

std::string SettingsStore::Read(const SettingKey& key) const {
    return ReadSetting(key.section, key.name, key.defaultValue);
}

std::string SettingsStore::Read(const SettingKey& key, std::string_view defaultValue) const {
    return ReadSetting(key.section, key.name, defaultValue);
}

bool SettingsStore::Write(const SettingKey& key, std::string_view value) {
    return WriteSetting(key.section, key.name, value);
}

long long SettingsStore::ReadNumber(std::string_view section, std::string_view key, long long defaultValue) const {
    return ParseSettingNumber(ReadSetting(section, key, ToDecimal(defaultValue))).value_or(defaultValue);
}

long long SettingsStore::ReadNumber(const SettingKey& key) const {
    const long long defaultValue = ParseSettingNumber(key.defaultValue).value_or(0);
    return ReadNumber(key.section, key.name, defaultValue);
}

bool SettingsStore::ReadTruth(std::string_view section, std::string_view key, bool defaultValue) const {
    return ParseSettingTruth(ReadSetting(section, key, TruthText(defaultValue))).value_or(defaultValue);
}

bool SettingsStore::ReadTruth(const SettingKey& key) const {
    const bool defaultValue = ParseSettingTruth(key.defaultValue).value_or(false);
    return ReadTruth(key.section, key.name, defaultValue);
}

bool SettingsStore::WriteNumber(const SettingKey& key, long long value) { return Write(key, ToDecimal(value)); }

bool SettingsStore::WriteTruth(const SettingKey& key, bool value) { return Write(key, TruthText(value)); }

bool SettingsStore::WriteCheck(const SettingKey& key, bool checked) { return Write(key, CheckText(checked)); }

}  // namespace bastion::services
