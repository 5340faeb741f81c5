#include "services/settings/MachineSettingsStore.h"

#include "common/Text.h"
#include "services/settings/SettingsStore.h"

namespace bastion::services {

namespace {

constexpr platform::Hive kMachineHive = platform::Hive::LocalMachine;
constexpr std::string_view kPermissionDeniedTitle = "Permission Denied";
constexpr std::string_view kPermissionDeniedText =
    " requires read/write access to the system registry and hard drive in order to run properly.  This user "
    "account does not have the proper permissions set.  As a result some or all of your settings may not be "
    "properly saved.  Please contact your system administrator or change the permission settings for this "
    "account.";
constexpr std::string_view kPermissionDeniedHint =
    "If you would like to prevent this error message from being displayed again, please press 'Ignore'.";

MachineSettingResult Error(int number, std::string description) {
    MachineSettingResult result;
    result.errorNumber = number;
    result.errorDescription = std::move(description);
    return result;
}

MachineSettingResult Value(std::string text) {
    MachineSettingResult result;
    result.value = std::move(text);
    return result;
}

// The names must not be empty once blanks are trimmed; checked in this order.
bool CheckNames(std::string_view application, std::string_view section, std::string_view key,
                MachineSettingResult& error) {
    if (Trim(application).empty()) {
        error = Error(kErrorAppNameEmpty, "AppName may not be empty");
        return false;
    }
    if (Trim(section).empty()) {
        error = Error(kErrorSectionEmpty, "Section may not be empty");
        return false;
    }
    if (Trim(key).empty()) {
        error = Error(kErrorKeyEmpty, "Key may not be empty");
        return false;
    }
    return true;
}

}  // namespace

MachineSettingsStore::MachineSettingsStore(platform::Registry& registry, std::string companyName,
                                           std::string productName, SettingsStore& userSettings, Dialogs& dialogs)
    : registry_(registry),
      companyName_(std::move(companyName)),
      productName_(std::move(productName)),
      userSettings_(userSettings),
      dialogs_(dialogs) {}

std::string MachineSettingsStore::KeyPath(std::string_view application, std::string_view section) const {
    return "SOFTWARE\\" + Trim(companyName_) + "\\" + Trim(application) + "\\" + Trim(section);
}

MachineSettingResult MachineSettingsStore::ReadMachineSetting(std::string_view application,
                                                              std::string_view section, std::string_view key,
                                                              std::string_view defaultValue) {
    MachineSettingResult error;
    if (!CheckNames(application, section, key, error)) return error;

    const std::string path = KeyPath(application, section);
    const long opened = registry_.OpenKey(kMachineHive, path, platform::RegAccess::Read);
    if (opened == platform::kRegNotFound) return Value(std::string(defaultValue));
    if (opened != platform::kRegOk)
        return Error(kErrorRegistryBase + static_cast<int>(opened), "Could not open registry section");

    platform::RegValue value;
    // A value that is missing, or vanished or became unreadable since the
    // key was opened, reads as the default.
    if (registry_.QueryValue(kMachineHive, path, std::string(key), value) != platform::kRegOk)
        return Value(std::string(defaultValue));
    if (value.type != platform::RegType::String)
        return Error(kErrorRegistryBase + static_cast<int>(value.type), "Registry data not a string");
    return Value(value.text);
}

MachineSettingResult MachineSettingsStore::WriteMachineSetting(std::string_view application,
                                                               std::string_view section, std::string_view key,
                                                               std::string_view value) {
    return Store(application, section, key, value, true);
}

MachineSettingResult MachineSettingsStore::Store(std::string_view application, std::string_view section,
                                                 std::string_view key, std::string_view value, bool askOnFailure) {
    // An empty name would make the path name another key than intended.
    MachineSettingResult error;
    if (!CheckNames(application, section, key, error)) return error;

    const std::string path = KeyPath(application, section);
    auto retry = [this, askOnFailure] { return askOnFailure && AskRetryAfterPermissionFailure(); };
    long result = platform::kRegOk;
    while ((result = registry_.CreateKey(kMachineHive, path)) != platform::kRegOk) {
        if (!retry()) return Error(kErrorRegistryBase + static_cast<int>(result), "Could not open registry section");
    }
    const platform::RegValue stored = platform::RegValue::String(std::string(value));
    while ((result = registry_.SetValue(kMachineHive, path, std::string(key), stored)) != platform::kRegOk) {
        if (!retry()) return Error(kErrorRegistryBase + static_cast<int>(result), "Could not set registry value");
    }
    return Value(std::string(value));
}

MachineSettingResult MachineSettingsStore::Read(const SettingKey& key) {
    return ReadMachineSetting(productName_, key.section, key.name, key.defaultValue);
}

MachineSettingResult MachineSettingsStore::Write(const SettingKey& key, std::string_view value) {
    return WriteMachineSetting(productName_, key.section, key.name, value);
}

MachineSettingResult MachineSettingsStore::WriteQuietly(const SettingKey& key, std::string_view value) {
    return Store(productName_, key.section, key.name, value, false);
}

bool MachineSettingsStore::AskRetryAfterPermissionFailure() {
    if (userSettings_.Read(settings::kIgnorePermissionDeniedError) == settings::kChecked) return false;
    const std::string text = productName_ + std::string(kPermissionDeniedText) + "\r\n\r\n" +
                             std::string(kPermissionDeniedHint);
    switch (dialogs_.MessageBox(text, std::string(kPermissionDeniedTitle), MsgButtons::AbortRetryIgnore,
                                MsgIcon::Critical)) {
        case MsgResult::Retry:
            return true;
        case MsgResult::Ignore:
            userSettings_.Write(settings::kIgnorePermissionDeniedError, settings::kChecked);
            return false;
        default:
            return false;
    }
}

}  // namespace bastion::services
