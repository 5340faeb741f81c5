#include "scan/registry/RegistryScan.h"

#include <gtest/gtest.h>

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

using platform::Hive;
using platform::RegAccess;
using testing::ScanHarness;
using Rows = std::vector<std::string>;

struct RegistryScanTest : ::testing::Test {
    RegistryScanTest() {
        harness.state.SetPhase("Scanning registry");
        harness.state.definitions = {10, 20, 40, 30, 100};
    }
    void Scan(const std::vector<std::string>& lines) {
        harness.WriteDefinitions(datafile::kRegistryDefinitions, lines);
        ScanRegistryDefinitions(context);
    }
    Rows Activity() const { return harness.Activity(); }
    Rows Results() const { return harness.Detections(); }
    // What removal reaches of each: the hive's handle number, the key as
    // the definition writes it, the value and the view.
    Rows Items() const { return testing::DescribedRegistryItems(harness.state.Results()); }
    Rows RowTexts() const { return harness.Threats(); }

    ScanHarness harness;
    testing::FakeRegistry& registry = harness.machine.registry;
    ScanContext context = harness.Context();
};

TEST_F(RegistryScanTest, ReportsExistingKeysAndValuesWithTheirLocationsAndQueueRows) {
    registry.AddKey(Hive::LocalMachine, "Software\\SpyCo");
    registry.SetString(Hive::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "SpyRun", "x");
    registry.SetString(Hive::LocalMachine, "Software\\Shared", "C:\\WINDOWS\\system32\\spy.dll", "1");
    registry.SetString(Hive::ClassesRoot, "CLSID\\{1}", "C:\\spy\\run.exe", "1");
    Scan({
        "2^Software\\SpyCo=SpyCo Toolbar|Toolbar",
        "1^Software\\Microsoft\\Windows\\CurrentVersion\\Run\\^SpyRun= Spy Runner ",
        // Tokens are expanded and doubled backslashes in the value reduced.
        "2^Software\\Shared\\^[windir]system32\\\\spy.dll=Spy DLL|Adware",
        // Only the lower-case "[drive]" is the drive root; the value follows
        // the key without a separator when the key has none.
        "0^CLSID\\{1}^[drive]spy\\run.exe=Spy Class",
        "0^CLSID\\{1}^[DRIVE]spy\\run.exe=Not Expanded",
        "2^Software\\Gone=Absent Key",
        "1^Software\\SpyCo\\^Gone=Absent Value",
    });

    EXPECT_EQ(Items(), (Rows{
                           "-2147483646|Software\\SpyCo||64",
                           "-2147483647|Software\\Microsoft\\Windows\\CurrentVersion\\Run\\|SpyRun|64",
                           "-2147483646|Software\\Shared\\|C:\\WINDOWS\\system32\\spy.dll|64",
                           "-2147483648|CLSID\\{1}|C:\\spy\\run.exe|64",
                       }));
    EXPECT_EQ(Activity(), (Rows{
                              "SpyCo Toolbar|HKEY_LOCAL_MACHINE\\Software\\SpyCo#Registry",
                              "Spy Runner|HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"
                              "SpyRun#Registry",
                              "Spy DLL|HKEY_LOCAL_MACHINE\\Software\\Shared\\C:\\WINDOWS\\system32\\spy.dll#Registry",
                              "Spy Class|HKEY_CLASSES_ROOT\\CLSID\\{1}C:\\spy\\run.exe#Registry",
                          }));
    EXPECT_EQ(Results()[0], "Registry: SpyCo Toolbar|HKEY_LOCAL_MACHINE\\Software\\SpyCo|Toolbar");
    EXPECT_EQ(Results()[1], "Registry: Spy Runner|HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                            "Run\\SpyRun|");
    EXPECT_EQ(harness.state.counters.registryInspected, 7);
    EXPECT_EQ(harness.state.counters.itemsFound, 4);
    EXPECT_EQ(harness.state.counters.traces, 4);
}

TEST_F(RegistryScanTest, LinesWithoutAValidHiveAreSkippedUncounted) {
    registry.AddKey(Hive::LocalMachine, "Software\\Spy");
    Scan({"7^Software\\Spy=Hive Seven", "-1^Software\\Spy=Negative", " ^Software\\Spy=Blank Hive",
          "Software\\Spy=No Separator", "2=No Key Part", " 2 ^Software\\Spy=Blanks Allowed"});

    EXPECT_EQ(RowTexts(), Rows{"Blanks Allowed"});
    EXPECT_EQ(harness.state.counters.registryInspected, 1);
}

TEST_F(RegistryScanTest, AValueWithoutThreatIsTracedButNoDetection) {
    registry.SetString(Hive::CurrentUser, "Software\\Spy", "Helper", "x");
    registry.AddKey(Hive::CurrentUser, "Software\\SpyKey");
    Scan({"1^Software\\Spy\\^Helper=", "1^Software\\SpyKey="});

    EXPECT_EQ(harness.state.counters.traces, 2);
    // The key without a threat is named by its path; the value is not.
    EXPECT_EQ(Activity(), Rows{"RegKey Software\\SpyKey|HKEY_CURRENT_USER\\Software\\SpyKey#Registry"});
    EXPECT_EQ(Results(), Rows{"Registry: RegKey Software\\SpyKey|HKEY_CURRENT_USER\\Software\\SpyKey|"});
    EXPECT_EQ(Items(), Rows{"-2147483647|Software\\SpyKey||64"});
    EXPECT_EQ(harness.state.counters.itemsFound, 1);
}

TEST_F(RegistryScanTest, AnExcludedKeyHidesItsValuesWithOrWithoutTrailingBackslash) {
    registry.SetString(Hive::CurrentUser, "Software\\Spy", "One", "1");
    registry.SetString(Hive::CurrentUser, "Software\\Spy", "Two", "2");
    registry.SetString(Hive::CurrentUser, "Software\\Other", "Three", "3");
    registry.SetString(Hive::CurrentUser, "Software\\Other", "Four", "4");
    harness.exclusions.Assign({"hkey_current_user\\software\\spy", "HKEY_CURRENT_USER\\Software\\Other\\Four"});
    Scan({"1^Software\\Spy=Spy Key", "1^Software\\Spy\\^One=Spy One", "1^Software\\Spy^Two=Spy Two",
          "1^Software\\Other\\^Three=Other Three", "1^Software\\Other\\^Four=Other Four"});

    EXPECT_EQ(Activity(), (Rows{
                              "EXCLUDED|HKEY_CURRENT_USER\\Software\\Spy#Excluded",
                              "EXCLUDED|HKEY_CURRENT_USER\\Software\\Spy\\One#Excluded",
                              "EXCLUDED|HKEY_CURRENT_USER\\Software\\SpyTwo#Excluded",
                              "Other Three|HKEY_CURRENT_USER\\Software\\Other\\Three#Registry",
                              "EXCLUDED|HKEY_CURRENT_USER\\Software\\Other\\Four#Excluded",
                          }));
    EXPECT_EQ(Items().size(), 1u);
    EXPECT_EQ(harness.state.counters.itemsFound, 1);
    EXPECT_EQ(harness.state.counters.traces, 1);
}

TEST_F(RegistryScanTest, ProtectedLocationsAreNeverReported) {
    registry.AddKey(Hive::LocalMachine, "Software\\Safe");
    registry.SetString(Hive::LocalMachine, "Software\\Safe", "Kept", "1");
    registry.SetString(Hive::LocalMachine, "Software\\Safe", "Other", "1");
    harness.safety.Assign({"HKEY_LOCAL_MACHINE\\Software\\Safe", "HKEY_LOCAL_MACHINE\\Software\\Safe\\Kept"});
    // The value is protected as the safety list names it (key, "\\",
    // value) also where the definition joins value to key without one.
    Scan({"2^Software\\Safe=Safe Key", "2^Software\\Safe\\^Kept=Safe Value", "2^Software\\Safe^Kept=Joined Value",
          "2^Software\\Safe\\^Other=Other Value", "2^=Whole Hive"});

    EXPECT_EQ(RowTexts(), Rows{"Other Value"});
    EXPECT_EQ(Items().size(), 1u);
}

TEST_F(RegistryScanTest, MachineSoftwareAndClassesAreLookedUpInBothViewsAndASharedKeyIsFoundOnce) {
    using platform::RegView;
    auto set = [&](Hive hive, const std::string& key, const std::string& value, RegView view) {
        ASSERT_EQ(registry.CreateKey(hive, key, view), 0);
        ASSERT_EQ(registry.SetValue(hive, key, value, platform::RegValue::String("x"), view), 0);
    };
    set(Hive::LocalMachine, "Software\\Both", "Run", RegView::Bits64);
    set(Hive::LocalMachine, "Software\\Both", "Run", RegView::Bits32);
    set(Hive::LocalMachine, "Software\\Only32", "Run", RegView::Bits32);
    registry.ShareKey(Hive::LocalMachine, "Software\\Shared");
    set(Hive::LocalMachine, "Software\\Shared", "Run", RegView::Bits32);
    set(Hive::ClassesRoot, "CLSID\\{32}", "", RegView::Bits32);
    set(Hive::CurrentUser, "Software\\Classes\\CLSID\\{U}", "", RegView::Bits32);
    // The rest of the user's software both views share.
    set(Hive::CurrentUser, "Software\\Spy", "Run", RegView::Bits32);
    set(Hive::LocalMachine, "Software\\Excl", "", RegView::Bits64);
    set(Hive::LocalMachine, "Software\\Excl", "", RegView::Bits32);
    // What the user sees is what an exclusion names.
    harness.exclusions.Assign({"HKEY_LOCAL_MACHINE\\Software\\Excl (32-bit view)"});
    Scan({"2^Software\\Both=Both", "2^Software\\Only32\\^Run=Only32", "2^Software\\Shared\\^Run=Shared",
          "0^CLSID\\{32}=Class", "1^Software\\Classes\\CLSID\\{U}=User Class", "1^Software\\Spy\\^Run=User Run",
          "2^Software\\Excl=Excl"});

    const std::string machine = "HKEY_LOCAL_MACHINE\\Software\\";
    EXPECT_EQ(Activity(), (Rows{
                              "Both|" + machine + "Both#Registry",
                              "Both|" + machine + "Both (32-bit view)#Registry",
                              "Only32|" + machine + "Only32\\Run (32-bit view)#Registry",
                              "Shared|" + machine + "Shared\\Run#Registry",
                              "Class|HKEY_CLASSES_ROOT\\CLSID\\{32} (32-bit view)#Registry",
                              "User Class|HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{U} (32-bit view)#Registry",
                              "User Run|HKEY_CURRENT_USER\\Software\\Spy\\Run#Registry",
                              "Excl|" + machine + "Excl#Registry",
                              "EXCLUDED|" + machine + "Excl (32-bit view)#Excluded",
                          }));
    // Each item names the view it was found in, for removal.
    EXPECT_EQ(Items(), (Rows{
                           "-2147483646|Software\\Both||64",
                           "-2147483646|Software\\Both||32",
                           "-2147483646|Software\\Only32\\|Run|32",
                           "-2147483646|Software\\Shared\\|Run|64",
                           "-2147483648|CLSID\\{32}||32",
                           "-2147483647|Software\\Classes\\CLSID\\{U}||32",
                           "-2147483647|Software\\Spy\\|Run|64",
                           "-2147483646|Software\\Excl||64",
                       }));
    EXPECT_EQ(harness.state.counters.registryInspected, 7);
    EXPECT_EQ(harness.state.counters.itemsFound, 8);

    // A system that cannot tell whether both views reach one key: found once.
    harness.BeginScan();
    registry.failKeyIdentity = true;
    Scan({"2^Software\\Both=Both"});
    EXPECT_EQ(Items(), Rows{"-2147483646|Software\\Both||64"});
}

TEST_F(RegistryScanTest, TheHiveItselfIsNeverAThreat) {
    // Even without a safety list to protect the registry roots.
    Scan({"2^=Whole Hive", "1^ =Whole Hive", "1^^=Whole Hive"});
    EXPECT_TRUE(harness.state.Results().detections.empty());
    EXPECT_TRUE(harness.state.Results().activity.empty());
    EXPECT_EQ(harness.state.counters.registryInspected, 3);
}

TEST_F(RegistryScanTest, MachineKeysThatOnlyAllowReadingAreFound) {
    // A user without administrative rights may read machine keys but not
    // change them: they exist all the same.
    registry.AddKey(Hive::LocalMachine, "Software\\SpyCo");
    registry.SetString(Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Spy", "x");
    registry.AddKey(Hive::LocalMachine, "SECURITY\\Spy");
    registry.DenyAccess(Hive::LocalMachine, "", RegAccess::ReadWrite);
    registry.DenyAccess(Hive::LocalMachine, "SECURITY", RegAccess::Read);
    Scan({"2^Software\\SpyCo=SpyCo", "2^Software\\Microsoft\\Windows\\CurrentVersion\\Run\\^Spy=Spy Run",
          "2^SECURITY\\Spy=Unreadable"});

    EXPECT_EQ(RowTexts(), (Rows{"SpyCo", "Spy Run"}));
    EXPECT_EQ(Items().size(), 2u);
    EXPECT_TRUE(RegKeyExists(registry, Hive::LocalMachine, "Software\\SpyCo"));
    EXPECT_FALSE(RegKeyExists(registry, Hive::LocalMachine, "SECURITY\\Spy"));
    EXPECT_FALSE(RegValueExists(registry, Hive::LocalMachine, "Software\\SpyCo", "None"));
}

TEST_F(RegistryScanTest, ShowsEachCountedLineAndStopsAfterYieldingWhenAsked) {
    harness.BeginScan();
    harness.pump.At(4, [&] { harness.state.RequestStop(); });
    Scan({"1^Software\\A=A", "9^Software\\Skipped=Skipped", "1^Software\\SpyCo\\^RunValue=B", "1^Software\\C=C"});

    EXPECT_EQ(harness.state.counters.registryInspected, 2);
    EXPECT_EQ(harness.progress.items, 2) << "one report per counted line";
    EXPECT_EQ(harness.progress.lastItem, "software\\spyco\\\\runvalue\r\nScanning registry: ");
    // 2 of 40 registry lines; 10 cookie + 20 executable + 2 of 100 lines.
    EXPECT_EQ(harness.progress.lastScanPercent, 5);
    EXPECT_EQ(harness.progress.lastOverallPercent, 32);
}

TEST_F(RegistryScanTest, AMissingDefinitionFileEndsTheScanQuietly) {
    ScanRegistryDefinitions(context);
    EXPECT_EQ(harness.state.counters.registryInspected, 0);
    EXPECT_EQ(harness.pump.CallCount(), 0);
}

}  // namespace
}  // namespace bastion
