#include "app/pages/StatusPage.h"

#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "scan/ScanOptions.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"
#include "support/FakeFileSystem.h"
#include "support/FakeRegistry.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

namespace keys = services::settings;

struct StatusPageTest : ::testing::Test {
    StatusPageTest() {
        files.AddFolder(dataFolder);
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
    }
    void Refresh() { RefreshStatusPage({files, Windows1252(), dataFolder, identity, messages, settings, state}); }

    testing::FakeFileSystem files;
    testing::FakeRegistry registry;
    std::string dataFolder = "C:\\Data";
    services::Identity identity = testing::TestIdentity();
    services::MessageCatalogue messages{identity};
    services::SettingsStore settings{registry, identity.productName};
    ui::FrmMain form;
    ScanState state{form};
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
    state.definitions.total = 1234567;
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

TEST(ScanOptionsTest, StoredOptionsReadEitherFormAndOverridesWinWithoutBeingStored) {
    testing::FakeRegistry registry;
    services::SettingsStore settings{registry, "Testwall"};
    StoredScanOptions options{settings};

    ScanOptions defaults = options.Current();
    EXPECT_TRUE(defaults.scanCookies && defaults.sweepMemory && defaults.scanRegistry && defaults.makeLog);

    settings.Write(keys::kChkScanCookies, "0");
    settings.Write(keys::kChkSweepMemory, "False");
    settings.Write(keys::kChkScanRegistry, "True");
    settings.Write(keys::kChkMakeLog, "1");
    ScanOptions stored = options.Current();
    EXPECT_FALSE(stored.scanCookies);
    EXPECT_FALSE(stored.sweepMemory);
    EXPECT_TRUE(stored.scanRegistry);
    EXPECT_TRUE(stored.makeLog);

    options.overrides.scanRegistry = false;
    options.overrides.sweepMemory = true;
    ScanOptions overridden = options.Current();
    EXPECT_FALSE(overridden.scanRegistry);
    EXPECT_TRUE(overridden.sweepMemory);
    EXPECT_EQ(settings.Read(keys::kChkScanRegistry), "True");
    EXPECT_EQ(settings.Read(keys::kChkSweepMemory), "False");
}

}  // namespace
}  // namespace bastion
