#include "app/App.h"

#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "definitions/DefinitionCodec.h"
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

// A scheduled scan stopped before its removal reports what it found, each
// not removed, and nothing of an earlier scan's removal.
TEST_F(AppTest, AStoppedScheduledScanReportsItsOwnFindingsAsNotRemoved) {
    App app(machine.Bundle(), dialogs, pump, testing::TestIdentity());
    for (std::string_view file : {datafile::kDirectoryDefinitions, datafile::kRegistryDefinitions,
                                  datafile::kExeDefinitions, datafile::kBlockedCookies}) {
        machine.files.AddFile(DataFilePath(app.dataFolder, file), "");
    }
    machine.files.AddFile(DataFilePath(app.dataFolder, datafile::kFileDefinitions),
                          EncodeDefinitionText("first.exe=First|C:\\Spy|Adware") + "\r\n" +
                              EncodeDefinitionText("second.exe=Second|C:\\Spy|Adware") + "\r\n");
    app.settings.Write(services::settings::kChkAutoDel, "1");
    machine.files.AddFile("C:\\Spy\\first.exe", "MZ");
    app.RunScheduledScan();
    const std::string report = ReportPath(app.dataFolder);
    EXPECT_NE(machine.files.Content(report)->find("the items found were removed automatically"), std::string::npos);

    machine.files.AddFile("C:\\Spy\\second.exe", "MZ");
    pump.Always([&] {
        if (!app.state.Results().detections.empty()) app.scanEngine.RequestStop();
    });
    app.RunScheduledScan();
    const std::string text = machine.files.Content(report).value_or("");
    EXPECT_NE(text.find("1 of the 1 items found could not be removed automatically"), std::string::npos) << text;
    EXPECT_NE(text.find("Name: Second"), std::string::npos) << text;
    EXPECT_NE(text.find("Removal: failed"), std::string::npos) << text;
    EXPECT_EQ(text.find("Name: First"), std::string::npos) << "the earlier scan's removal is not this one's";
    EXPECT_TRUE(machine.files.HasFile("C:\\Spy\\second.exe"));
}

}  // namespace
}  // namespace bastion
