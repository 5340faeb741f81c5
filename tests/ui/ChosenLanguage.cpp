// The window tests start the program as a returning user: a language has
// been chosen, so the first-start language window does not stand before
// the main window. The test of the first start removes the choice itself.
#include <gtest/gtest.h>

#include "BuildIdentity.h"
#include "platform/win32/Win32Registry.h"
#include "ui/settings/SettingKeys.h"
#include "ui/settings/SettingsStore.h"

namespace bastion::uitest {
namespace {

class ChosenLanguage : public ::testing::Environment {
public:
    void SetUp() override {
        win32::Win32Registry registry;
        ui::SettingsStore settings{registry, build::kProductName};
        if (settings.Read(ui::settings::kLanguage, "").empty()) {
            settings.Write(ui::settings::kLanguage, std::string(ui::settings::kEnglish));
        }
    }
};

[[maybe_unused]] ::testing::Environment* const kChosenLanguage =
    ::testing::AddGlobalTestEnvironment(new ChosenLanguage);

}  // namespace
}  // namespace bastion::uitest
