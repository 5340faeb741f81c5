#include "app/OptionPage.h"

#include <gtest/gtest.h>

#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"
#include "support/FakeRegistry.h"
#include "support/TestIdentity.h"

namespace bastion {
namespace {

namespace keys = services::settings;

struct OptionPageTest : ::testing::Test {
    OptionPageTest() {
        services::FillDefaultMessages(messages);
        services::FillGuardMessages(messages);
    }
    std::string Stored(const services::SettingKey& key) {
        return settings.ReadSetting(key.section, key.name, "(missing)");
    }

    testing::FakeRegistry registry;
    services::SettingsStore settings{registry, "Testwall"};
    ui::FrmMain form;
    services::MessageCatalogue messages{testing::TestIdentity()};
    // Held, as during the start-up, until a test lets go.
    ShieldTimers timers{form, settings};
};

TEST_F(OptionPageTest, EachStoringCheckBoxStoresItsStateUnderItsKey) {
    BindOptionControls(form, settings, timers);
    const std::pair<ui::CheckBox*, const services::SettingKey*> boxes[] = {
        {&form.chkAutomaticUpdate, &keys::kChkAutomaticUpdate}, {&form.chkMakeLog, &keys::kChkMakeLog},
        {&form.chkScanCookies, &keys::kChkScanCookies},         {&form.chkScanRegistry, &keys::kChkScanRegistry},
        {&form.chkSweepMemory, &keys::kChkSweepMemory},         {&form.chkSendData, &keys::kChkSendData},
        {&form.chkParallelWalk, &keys::kChkParallelWalk}};
    for (auto [box, key] : boxes) {
        box->Click();
        EXPECT_EQ(Stored(*key), "1") << box->Name();
        box->Click();
        EXPECT_EQ(Stored(*key), "0") << box->Name();
    }
}

TEST_F(OptionPageTest, SendDataIsStoredOnlyWhenTheConfirmationAgrees) {
    bool agree = false;
    BindOptionControls(form, settings, timers, {[&](bool ticked) { return ticked && agree; }});
    form.chkSendData.Click();
    EXPECT_EQ(Stored(keys::kChkSendData), "(missing)");
    agree = true;
    form.chkSendData.Click();
    form.chkSendData.Click();
    EXPECT_EQ(Stored(keys::kChkSendData), "1");
}

TEST_F(OptionPageTest, ShieldControlsStoreBothKeysSwitchTheirTimerAndKeepEachOtherInStep) {
    BindOptionControls(form, settings, timers);
    timers.EnableShieldTimers(true);
    struct Shield {
        ui::CheckBox& box;
        ui::OptionButton& on;
        ui::OptionButton& off;
        const services::SettingKey& onKey;
        const services::SettingKey& offKey;
        ui::Timer& timer;
    };
    const Shield shields[] = {
        {form.chkAutoProtect, form.optMemorySheildOn, form.optMemorySheildOff, keys::kOptMemorySheildOn,
         keys::kOptMemorySheildOff, form.tmrMemoryInspected},
        {form.chkHomePage, form.optIEHomePageSheildOn, form.optIEHomePageSheildOff, keys::kOptIEHomePageSheildOn,
         keys::kOptIEHomePageSheildOff, form.tmrCheckHomePage}};
    for (const Shield& shield : shields) {
        auto expectState = [&](bool enabled, const char* after) {
            EXPECT_EQ(Stored(shield.onKey), enabled ? "True" : "False") << shield.box.Owner().Name() << after;
            EXPECT_EQ(Stored(shield.offKey), enabled ? "False" : "True") << after;
            EXPECT_EQ(shield.timer.Running(), enabled) << shield.timer.Name() << after;
            EXPECT_EQ(shield.box.Checked(), enabled) << shield.box.Name() << after;
            EXPECT_EQ(shield.on.Value(), enabled) << after;
            EXPECT_EQ(shield.off.Value(), !enabled) << after;
        };
        shield.box.Click();
        expectState(true, " after ticking the box");
        shield.box.Click();
        expectState(false, " after unticking the box");
        shield.on.Click();
        expectState(true, " after Enabled");
        shield.off.Click();
        expectState(false, " after Disabled");
    }
    // How to react to a home page change is only offered while that shield
    // is on.
    EXPECT_FALSE(form.optAlwaysnotifybeforerestoring.Enabled());
    form.chkHomePage.Click();
    EXPECT_TRUE(form.optRestoredefaultwithoutnotification.Enabled());
}

TEST_F(OptionPageTest, OptionButtonPairsStoreBothStates) {
    BindOptionControls(form, settings, timers);
    form.optScanAllSelectedHardDrive.Click();
    EXPECT_EQ(Stored(keys::kOptScanAllSelectedHardDrive), "True");
    EXPECT_EQ(Stored(keys::kOptScanOnlyKnownSoftwares), "False");
    form.optScanOnlyKnownSoftwares.Click();
    EXPECT_EQ(Stored(keys::kOptScanAllSelectedHardDrive), "False");
    EXPECT_EQ(Stored(keys::kOptScanOnlyKnownSoftwares), "True");
    form.optRestoredefaultwithoutnotification.Click();
    EXPECT_EQ(Stored(keys::kOptAlwaysnotifybeforerestoring), "False");
    EXPECT_EQ(Stored(keys::kOptRestoredefaultwithoutnotification), "True");
}

TEST_F(OptionPageTest, AFreshProfileLoadsTheDefaultsAndWritesBackThoseTheFirstStateLacked) {
    // The page's first state, before any handler listens.
    form.optScanAllSelectedHardDrive.SetValue(true);
    BindOptionControls(form, settings, timers);
    RestoreOptionPage(form, settings, messages, "3/16/2006 12:00:00 AM");

    for (ui::CheckBox* box : {&form.chkMakeLog, &form.chkSweepMemory, &form.chkScanRegistry, &form.chkScanCookies,
                              &form.chkSendData, &form.chkAutomaticUpdate, &form.chkAutoProtect, &form.chkHomePage,
                              &form.chkParallelWalk}) {
        EXPECT_TRUE(box->Checked()) << box->Name();
    }
    EXPECT_FALSE(form.tmrMemoryInspected.Running()) << "no shield runs before the start-up has completed";
    timers.EnableShieldTimers(true);
    EXPECT_TRUE(form.tmrMemoryInspected.Running());
    EXPECT_TRUE(form.tmrCheckHomePage.Running());
    EXPECT_FALSE(form.tmrScheduler.Running());
    EXPECT_TRUE(form.optAlwaysnotifybeforerestoring.Value());
    EXPECT_TRUE(form.optScanOnlyKnownSoftwares.Value()) << "the schedule starts quick scans until told otherwise";
    EXPECT_EQ(form.lblLastUpdate.Caption(), "Signatures Last Updated On 3/16/2006 12:00:00 AM PST");

    EXPECT_EQ(Stored(keys::kShow), "True");
    EXPECT_EQ(Stored(keys::kChkMakeLog), "1");
    EXPECT_EQ(Stored(keys::kOptMemorySheildOn), "True");
    EXPECT_EQ(Stored(keys::kOptScanAllSelectedHardDrive), "False");
    EXPECT_EQ(Stored(keys::kOptScanOnlyKnownSoftwares), "True");
    EXPECT_EQ(form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Columns()[1].widthTwips, 4400)
        << "no stored width keeps the width that fits";
}

TEST_F(OptionPageTest, StoredValuesComeBack) {
    BindOptionControls(form, settings, timers);
    for (auto [key, value] : std::initializer_list<std::pair<const services::SettingKey*, const char*>>{
             {&keys::kChkMakeLog, "0"},
             {&keys::kChkScanCookies, "0"},
             {&keys::kOptMemorySheildOn, "False"},
             {&keys::kOptMemorySheildOff, "True"},
             {&keys::kOptIEHomePageSheildOn, "False"},
             {&keys::kOptIEHomePageSheildOff, "True"},
             {&keys::kOptRestoredefaultwithoutnotification, "True"},
             {&keys::kOptAlwaysnotifybeforerestoring, "False"},
             {&keys::kChkAutomaticScanYesOrNo, "1"},
             {&keys::kScheduleKind, "1"}}) {
        settings.Write(*key, value);
    }
    settings.WriteSetting("Settings", "FoundCol22", "2000.5");

    RestoreOptionPage(form, settings, messages, "5/1/2024");

    EXPECT_FALSE(form.chkMakeLog.Checked());
    EXPECT_FALSE(form.chkScanCookies.Checked());
    EXPECT_FALSE(form.chkAutoProtect.Checked());
    EXPECT_TRUE(form.optMemorySheildOff.Value());
    EXPECT_FALSE(form.tmrMemoryInspected.Running());
    EXPECT_FALSE(form.chkHomePage.Checked());
    EXPECT_FALSE(form.tmrCheckHomePage.Running());
    EXPECT_FALSE(form.optRestoredefaultwithoutnotification.Enabled());
    EXPECT_TRUE(form.optRestoredefaultwithoutnotification.Value());
    timers.EnableShieldTimers(true);
    EXPECT_TRUE(form.tmrScheduler.Running());
    EXPECT_TRUE(form.optScanAllSelectedHardDrive.Value()) << "the kind the schedule starts, as stored";
    EXPECT_EQ(Stored(keys::kScheduleKind), "1");
    form.optScanOnlyKnownSoftwares.Click();
    EXPECT_EQ(Stored(keys::kScheduleKind), "0");
    EXPECT_EQ(form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Columns()[1].widthTwips, 2000);
}

}  // namespace
}  // namespace bastion
