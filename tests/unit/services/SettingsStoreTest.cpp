#include "services/settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/settings/SettingKeys.h"
#include "support/FakeRegistry.h"

namespace bastion::services {
namespace {

using platform::Hive;

constexpr const char* kTestwallSettings = "Software\\VB and VBA Program Settings\\Testwall\\Settings";

class SettingsStoreTest : public ::testing::Test {
protected:
    testing::FakeRegistry registry;
    SettingsStore store{registry, "Testwall"};
};

TEST_F(SettingsStoreTest, FreshProfileReadsEveryDefault) {
    struct Expected {
        SettingKey key;
        std::string section;
        std::string name;
        std::string defaultValue;
    };
    namespace s = settings;
    const std::vector<Expected> table = {
        {s::kLanguage, "Settings", "Language", "English"},
        {s::kShowHelp, "Settings", "showHelp", "1"},
        {s::kMinimized, "Settings", "Minimized", "No"},
        {s::kMax, "Settings", "Max", "0"},
        {s::kLblLastScan, "Settings", "lblLastScan", "Never"},
        {s::kLblLastFullScan, "Settings", "lblLastFullScan", "Never"},
        {s::kLblDefRemoved, "Settings", "lblDefRemoved", "0"},
        {s::kChkAutoDel, "Settings", "chkAutoDel", "0"},
        {s::kRanOneTime, "Settings", "ranOneTime", "0"},
        {s::kIgnorePermissionDeniedError, "Settings", "IgnorePermissionDeniedError", "0"},
        {s::kChkAutomaticUpdate, "OptionAndSettings", "chkAutomaticUpdate", "1"},
        {s::kChkMakeLog, "OptionAndSettings", "chkMakeLog", "1"},
        {s::kChkScanCookies, "OptionAndSettings", "chkScanCookies", "1"},
        {s::kChkScanRegistry, "OptionAndSettings", "chkScanRegistry", "1"},
        {s::kChkSweepMemory, "OptionAndSettings", "chkSweepMemory", "1"},
        {s::kChkSendData, "OptionAndSettings", "chkSendData", "1"},
        {s::kChkRunAtStartup, "OptionAndSettings", "chkRunAtStartup", "0"},
        {s::kChkAutomaticScanYesOrNo, "OptionAndSettings", "chkAutomaticScanYesOrNo", "0"},
        {s::kDay, "OptionAndSettings", "Day", "7"},
        {s::kTime, "OptionAndSettings", "Time", "Null"},
        {s::kDate, "OptionAndSettings", "Date", "Null"},
        {s::kOptMemorySheildOn, "OptionAndSettings", "optMemorySheildOn", "True"},
        {s::kOptMemorySheildOff, "OptionAndSettings", "optMemorySheildOff", "False"},
        {s::kOptIEHomePageSheildOn, "OptionAndSettings", "optIEHomePageSheildOn", "True"},
        {s::kOptIEHomePageSheildOff, "OptionAndSettings", "optIEHomePageSheildOff", "False"},
        {s::kOptAlwaysnotifybeforerestoring, "OptionAndSettings", "optAlwaysnotifybeforerestoring", "True"},
        {s::kOptRestoredefaultwithoutnotification, "OptionAndSettings", "optRestoredefaultwithoutnotification",
         "False"},
        {s::kOptScanAllSelectedHardDrive, "OptionAndSettings", "optScanAllSelectedHardDrive", "True"},
        {s::kHomepage, "OptionAndSettings", "Homepage", ""},
    };
    for (const Expected& row : table) {
        EXPECT_EQ(row.key.section, row.section) << row.name;
        EXPECT_EQ(row.key.name, row.name);
        EXPECT_EQ(store.Read(row.key), row.defaultValue) << row.name;
    }
    EXPECT_EQ(store.ReadSetting(s::kSectionSettings, s::FoundColumnKey(1), s::kFoundColumnDefault), "1400");
    EXPECT_EQ(s::FoundColumnKey(1), "FoundCol21");
    EXPECT_EQ(store.ReadSetting(s::kSectionDrives, "C:\\ (Local Disk)", s::kDriveDefault), "True");
    EXPECT_EQ(store.Read(s::kLanguage, s::kLanguageFirstRunDefault), "");
    EXPECT_FALSE(registry.HasKey(Hive::CurrentUser, "Software\\VB and VBA Program Settings"))
        << "reading creates nothing";
}

TEST_F(SettingsStoreTest, WritesOneStringValuePerKeyUnderTheApplicationsSection) {
    EXPECT_TRUE(store.Write(settings::kLanguage, "Deutsch"));
    EXPECT_TRUE(store.WriteSetting(settings::kSectionDrives, "C:\\ (Local Disk)", "False"));

    const auto stored = registry.GetValue(Hive::CurrentUser, kTestwallSettings, "Language");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, platform::RegType::String);
    EXPECT_EQ(stored->text, "Deutsch");
    EXPECT_EQ(registry.GetString(Hive::CurrentUser, "Software\\VB and VBA Program Settings\\Testwall\\Drives",
                                 "C:\\ (Local Disk)"),
              "False");
    EXPECT_EQ(store.Read(settings::kLanguage), "Deutsch");
    EXPECT_EQ(store.ReadSetting(settings::kSectionDrives, "c:\\ (local disk)", settings::kDriveDefault), "False")
        << "keys are found ignoring case, as the registry does";
}

TEST_F(SettingsStoreTest, AnotherProductNameHasAFreshStore) {
    store.Write(settings::kLanguage, "Deutsch");
    SettingsStore other(registry, "Testwall Other");
    EXPECT_EQ(other.Read(settings::kLanguage), "English");
    other.Write(settings::kLanguage, "Français");
    EXPECT_EQ(store.Read(settings::kLanguage), "Deutsch");
    EXPECT_EQ(store.ReadSetting("Testwall Other", settings::kSectionSettings, "Language", ""), "Français");
}

TEST_F(SettingsStoreTest, AValueThatIsNotAStringReadsAsTheDefault) {
    registry.SetDword(Hive::CurrentUser, kTestwallSettings, "Max", 1);
    EXPECT_EQ(store.Read(settings::kMax), "0");
}

TEST_F(SettingsStoreTest, EmptyNamesStoreNothing) {
    EXPECT_FALSE(store.WriteSetting("", "Settings", "Language", "x"));
    EXPECT_FALSE(store.WriteSetting("Testwall", "", "Language", "x"));
    EXPECT_FALSE(store.WriteSetting("Testwall", "Settings", "", "x"));
    EXPECT_FALSE(registry.HasKey(Hive::CurrentUser, "Software\\VB and VBA Program Settings"));
    EXPECT_EQ(store.ReadSetting("", "Settings", "Language", "dflt"), "dflt");
}

TEST_F(SettingsStoreTest, NumericReaderRoundsFractionsAndFallsBackOnText) {
    const std::string column = settings::FoundColumnKey(2);
    auto readWidth = [&](const char* stored) {
        store.WriteSetting(settings::kSectionSettings, column, stored);
        return store.ReadNumber(settings::kSectionSettings, column, 1400);
    };
    EXPECT_EQ(readWidth("1234"), 1234);
    EXPECT_EQ(readWidth(" 1234 "), 1234);
    EXPECT_EQ(readWidth("1234.6"), 1235);
    EXPECT_EQ(readWidth("1234.5"), 1234);
    EXPECT_EQ(readWidth("1235.5"), 1236);
    EXPECT_EQ(readWidth("-20"), -20);
    EXPECT_EQ(readWidth("12px"), 1400);
    EXPECT_EQ(readWidth(""), 1400);
    EXPECT_EQ(readWidth("."), 1400);
    EXPECT_EQ(readWidth("1e3"), 1400);
    EXPECT_EQ(readWidth("inf"), 1400);
    EXPECT_EQ(readWidth("99999999999999999999999"), 1400);
    EXPECT_EQ(store.ReadNumber(settings::kDay), 7);
}

TEST_F(SettingsStoreTest, TruthReaderTakesWordsInAnyCaseAndNonZeroNumbers) {
    auto readTruth = [&](const char* stored, bool defaultValue) {
        store.Write(settings::kOptMemorySheildOn, stored);
        return store.ReadTruth(settings::kSectionOptionAndSettings, settings::kOptMemorySheildOn.name,
                               defaultValue);
    };
    EXPECT_TRUE(readTruth("True", false));
    EXPECT_TRUE(readTruth("tRUE", false));
    EXPECT_FALSE(readTruth("false", true));
    EXPECT_TRUE(readTruth("1", false));
    EXPECT_TRUE(readTruth("-1", false));
    EXPECT_TRUE(readTruth("0.4", false));
    EXPECT_FALSE(readTruth("0", true));
    EXPECT_TRUE(readTruth("Yes", true));
    EXPECT_FALSE(readTruth("Yes", false));
    EXPECT_TRUE(store.ReadTruth(settings::kOptIEHomePageSheildOn));
    EXPECT_FALSE(store.ReadTruth(settings::kOptIEHomePageSheildOff));
}

}  // namespace
}  // namespace bastion::services
