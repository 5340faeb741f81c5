#include "app/pages/StatusPage.h"

#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"
#include "support/TestServices.h"

namespace bastion {
namespace {

namespace keys = services::settings;

struct StatusPageTest : ::testing::Test {
    void Refresh() { RefreshStatusPage(program.Bundle(), form, definitionCount); }

    testing::TestServices program;
    testing::FakeFileSystem& files = program.machine.files;
    const std::string& dataFolder = program.dataFolder;
    services::MessageCatalogue& messages = program.messages;
    services::SettingsStore& settings = program.settings;
    ui::FrmMain form;
    std::int32_t definitionCount = 0;
};

TEST_F(StatusPageTest, AFreshInstallShowsTheDefaults) {
    Refresh();
    EXPECT_EQ(form.lblDefCount.Caption(), "0");
    EXPECT_EQ(form.lblVersion.Caption(), "4.2");
    EXPECT_EQ(form.lblDefVersion.Caption(), "3/16/2006 12:00:00 AM PST");
    EXPECT_EQ(form.lblDefRemoved.Caption(), "0");
    EXPECT_EQ(form.lblLastScan.Caption(), "Never");
    EXPECT_EQ(form.lblLastFullScan.Caption(), "Never");
}

TEST_F(StatusPageTest, ShowsTheCountTheDefinitionDateAndTheStoredFigures) {
    definitionCount = 1234567;
    files.AddFile(DataFilePath(dataFolder, datafile::kDefinitionDate), "7/4/2009 9:30:00 PM\r\nignored\r\n");
    settings.Write(keys::kLblDefRemoved, "17");
    settings.Write(keys::kLblLastScan, "7/5/2009 10:00:00 AM");
    settings.Write(keys::kLblLastFullScan, "7/1/2009");
    Refresh();
    EXPECT_EQ(form.lblDefCount.Caption(), "1,234,567");
    EXPECT_EQ(form.lblDefVersion.Caption(), "7/4/2009 9:30:00 PM PST");
    EXPECT_EQ(form.lblDefRemoved.Caption(), "17");
    EXPECT_EQ(form.lblLastScan.Caption(), "7/5/2009 10:00:00 AM");
    EXPECT_EQ(form.lblLastFullScan.Caption(), "7/1/2009");
}

TEST_F(StatusPageTest, NeverAndAMissedScheduledScanShowInTheUsersLanguage) {
    for (std::size_t slot = 0; slot < messages.UsedCount(); ++slot) {
        if (messages.KeyAt(slot) == services::msg::kNever) messages.SetTextAt(slot, "nie");
        if (messages.KeyAt(slot) == services::msg::kScheduleMissed)
            messages.SetTextAt(slot, "Geplante Prüfung verpasst am");
    }
    Refresh();
    EXPECT_EQ(form.lblLastScan.Caption(), "Nie");
    EXPECT_FALSE(form.lblScheduleMissed.Visible());

    settings.Write(keys::kScheduleMissed, "7/5/2009 10:00:00 AM");
    Refresh();
    EXPECT_TRUE(form.lblScheduleMissed.Visible());
    EXPECT_EQ(form.lblScheduleMissed.Caption(), "Geplante Prüfung verpasst am 7/5/2009 10:00:00 AM");
}

}  // namespace
}  // namespace bastion
