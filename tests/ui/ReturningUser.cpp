// The window tests start the program as a returning user on a machine that
// was greeted: a language has been chosen and the help was shown, so neither
// the language window nor the help viewer stands before the main window (a
// viewer left running would also hold the test's output open). The tests of
// the first start undo what they need themselves.
#include <gtest/gtest.h>

#include <string>

#include "BuildIdentity.h"
#include "platform/win32/Win32Registry.h"
#include "services/settings/SettingKeys.h"
#include "services/settings/SettingsStore.h"

namespace bastion::uitest {
namespace {

class ReturningUser : public ::testing::Environment {
public:
    void SetUp() override {
        win32::Win32Registry registry;
        services::SettingsStore settings{registry, build::kProductName};
        if (settings.Read(services::settings::kLanguage, "").empty()) {
            settings.Write(services::settings::kLanguage, std::string(services::settings::kEnglish));
        }
        settings.Write(services::settings::kShowHelp, std::string(services::settings::kUnchecked));
        const std::string machineKey =
            std::string("SOFTWARE\\") + build::kCompanyName + "\\" + build::kProductName + "\\Settings";
        registry.CreateKey(platform::Hive::LocalMachine, machineKey);
        registry.SetValue(platform::Hive::LocalMachine, machineKey, "FirstTime", platform::RegValue::String("Yes"));
    }
};

[[maybe_unused]] ::testing::Environment* const kReturningUser =
    ::testing::AddGlobalTestEnvironment(new ReturningUser);

}  // namespace
}  // namespace bastion::uitest
