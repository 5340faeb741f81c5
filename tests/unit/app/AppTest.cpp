#include "app/App.h"

#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "report/ScanReport.h"
#include "services/messages/MessageKeys.h"
#include "services/settings/SettingKeys.h"
#include "support/FakePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

constexpr const char* kDataFolder = "C:\\Documents and Settings\\User\\Application Data\\DovuVedivazIVE";

struct AppTest : ::testing::Test {
    testing::FakePlatform machine;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
};

TEST_F(AppTest, CreatesTheDataFolderAndStartsWithTheDefaultMessages) {
    ASSERT_FALSE(machine.files.HasFolder(kDataFolder));
    App app(machine.Bundle(), dialogs, pump, testing::TestIdentity());
    EXPECT_EQ(app.dataFolder, kDataFolder);
    EXPECT_TRUE(machine.files.HasFolder(kDataFolder));
    EXPECT_EQ(app.messages.getMessages(services::msg::kScanCompleted), "Scanning complete.");
    EXPECT_EQ(app.settings.ApplicationName(), "Testwall");
}

TEST_F(AppTest, AScanWritesTheReportOnlyWhileTheLogOptionIsOn) {
    App app(machine.Bundle(), dialogs, pump, testing::TestIdentity());
    const std::string report = ReportPath(app.dataFolder);

    app.settings.Write(services::settings::kChkMakeLog, "0");
    app.controller.cmdScanNow_Click();
    EXPECT_FALSE(machine.files.HasFile(report));

    app.settings.Write(services::settings::kChkMakeLog, "1");
    machine.clock.Advance(3600);
    app.controller.cmdScanNow_Click();
    std::optional<std::string> written = machine.files.Content(report);
    ASSERT_TRUE(written.has_value());
    EXPECT_NE(written->find(" Scan Finished at : " + FormatGeneralDate(machine.clock.now)), std::string::npos);
}

}  // namespace
}  // namespace bastion
