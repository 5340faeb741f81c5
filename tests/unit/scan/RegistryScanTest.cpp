#include "scan/registry/RegistryScan.h"

#include <gtest/gtest.h>

#include "DetectedRows.h"
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
    Rows Activity() const { return ScanHarness::Rows(harness.state.ActivityList()); }
    Rows Results() const { return ScanHarness::Rows(harness.state.ResultsList()); }
    Rows Queue() const { return ScanHarness::Rows(harness.state.RegistryQueue()); }
    Rows RowTexts() const { return testing::RowTexts(harness.state.ActivityList()); }

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

    EXPECT_EQ(Queue(), (Rows{
                           "-2147483646|Software\\SpyCo||SpyCo Toolbar|64#0/0",
                           "-2147483647|Software\\Microsoft\\Windows\\CurrentVersion\\Run\\|SpyRun|Spy Runner|64#0/0",
                           "-2147483646|Software\\Shared\\|C:\\WINDOWS\\system32\\spy.dll|Spy DLL|64#0/0",
                           "-2147483648|CLSID\\{1}|C:\\spy\\run.exe|Spy Class|64#0/0",
                       }));
    EXPECT_EQ(Activity(), (Rows{
                              "SpyCo Toolbar|HKEY_LOCAL_MACHINE\\Software\\SpyCo#2/0",
                              "Spy Runner|HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"
                              "SpyRun#2/0",
                              "Spy DLL|HKEY_LOCAL_MACHINE\\Software\\Shared\\C:\\WINDOWS\\system32\\spy.dll#2/0",
                              "Spy Class|HKEY_CLASSES_ROOT\\CLSID\\{1}C:\\spy\\run.exe#2/0",
                          }));
    EXPECT_EQ(Results()[0], "SpyCo Toolbar|HKEY_LOCAL_MACHINE\\Software\\SpyCo|Toolbar#2/2");
    EXPECT_EQ(Results()[1], "Spy Runner|HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"
                            "SpyRun#2/2");
    EXPECT_EQ(harness.state.counters.registryInspected, 7);
    EXPECT_EQ(harness.state.counters.itemsFound, 4);
    EXPECT_EQ(harness.form.lbltracesFound.Caption(), "4");
}

TEST_F(RegistryScanTest, LinesWithoutAValidHiveAreSkippedUncounted) {
    registry.AddKey(Hive::LocalMachine, "Software\\Spy");
    Scan({"7^Software\\Spy=Hive Seven", "-1^Software\\Spy=Negative", " ^Software\\Spy=Blank Hive",
          "Software\\Spy=No Separator", "2=No Key Part", " 2 ^Software\\Spy=Blanks Allowed"});

    EXPECT_EQ(RowTexts(), Rows{"Blanks Allowed"});
    EXPECT_EQ(harness.state.counters.registryInspected, 1);
}

TEST_F(RegistryScanTest, AValueWithoutThreatIsQueuedAndTracedButNotListed) {
    registry.SetString(Hive::CurrentUser, "Software\\Spy", "Helper", "x");
    registry.AddKey(Hive::CurrentUser, "Software\\SpyKey");
    Scan({"1^Software\\Spy\\^Helper=", "1^Software\\SpyKey="});

    EXPECT_EQ(Queue(), (Rows{"-2147483647|Software\\Spy\\|Helper||64#0/0", "-2147483647|Software\\SpyKey|||64#0/0"}));
    EXPECT_EQ(harness.form.lbltracesFound.Caption(), "2");
    // The key without a threat is listed by its path; the value is not.
    EXPECT_EQ(Activity(), Rows{"RegKey Software\\SpyKey|HKEY_CURRENT_USER\\Software\\SpyKey#2/0"});
    EXPECT_EQ(Results(), Rows{"RegKey Software\\SpyKey|HKEY_CURRENT_USER\\Software\\SpyKey#2/2"});
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
                              "EXCLUDED|HKEY_CURRENT_USER\\Software\\Spy#5/0",
                              "EXCLUDED|HKEY_CURRENT_USER\\Software\\Spy\\One#5/0",
                              "EXCLUDED|HKEY_CURRENT_USER\\Software\\SpyTwo#5/0",
                              "Other Three|HKEY_CURRENT_USER\\Software\\Other\\Three#2/0",
                              "EXCLUDED|HKEY_CURRENT_USER\\Software\\Other\\Four#5/0",
                          }));
    EXPECT_EQ(Queue().size(), 1u);
    EXPECT_EQ(harness.state.counters.itemsFound, 1);
    EXPECT_EQ(harness.form.lbltracesFound.Caption(), "1");
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
    EXPECT_EQ(harness.state.RegistryQueue().Count(), 1u);
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
                              "Both|" + machine + "Both#2/0",
                              "Both|" + machine + "Both (32-bit view)#2/0",
                              "Only32|" + machine + "Only32\\Run (32-bit view)#2/0",
                              "Shared|" + machine + "Shared\\Run#2/0",
                              "Class|HKEY_CLASSES_ROOT\\CLSID\\{32} (32-bit view)#2/0",
                              "User Class|HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{U} (32-bit view)#2/0",
                              "User Run|HKEY_CURRENT_USER\\Software\\Spy\\Run#2/0",
                              "Excl|" + machine + "Excl#2/0",
                              "EXCLUDED|" + machine + "Excl (32-bit view)#5/0",
                          }));
    // Each queue row names the view its item was found in, for removal.
    EXPECT_EQ(Queue(), (Rows{
                           "-2147483646|Software\\Both||Both|64#0/0",
                           "-2147483646|Software\\Both||Both|32#0/0",
                           "-2147483646|Software\\Only32\\|Run|Only32|32#0/0",
                           "-2147483646|Software\\Shared\\|Run|Shared|64#0/0",
                           "-2147483648|CLSID\\{32}||Class|32#0/0",
                           "-2147483647|Software\\Classes\\CLSID\\{U}||User Class|32#0/0",
                           "-2147483647|Software\\Spy\\|Run|User Run|64#0/0",
                           "-2147483646|Software\\Excl||Excl|64#0/0",
                       }));
    EXPECT_EQ(harness.state.counters.registryInspected, 7);
    EXPECT_EQ(harness.state.counters.itemsFound, 8);

    // A system that cannot tell whether both views reach one key: found once.
    harness.state.Reset();
    registry.failKeyIdentity = true;
    Scan({"2^Software\\Both=Both"});
    EXPECT_EQ(Queue(), Rows{"-2147483646|Software\\Both||Both|64#0/0"});
}

TEST_F(RegistryScanTest, TheHiveItselfIsNeverAThreat) {
    // Even without a safety list to protect the registry roots.
    Scan({"2^=Whole Hive", "1^ =Whole Hive", "1^^=Whole Hive"});
    EXPECT_TRUE(harness.state.RegistryQueue().Empty());
    EXPECT_TRUE(harness.state.ActivityList().Empty());
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
    EXPECT_EQ(harness.state.RegistryQueue().Count(), 2u);
    EXPECT_TRUE(RegKeyExists(registry, Hive::LocalMachine, "Software\\SpyCo"));
    EXPECT_FALSE(RegKeyExists(registry, Hive::LocalMachine, "SECURITY\\Spy"));
    EXPECT_FALSE(RegValueExists(registry, Hive::LocalMachine, "Software\\SpyCo", "None"));
}

TEST_F(RegistryScanTest, ShowsEachCountedLineAndStopsAfterYieldingWhenAsked) {
    harness.state.throttle = 23;  // the second counted line's report shows
    harness.pump.At(4, [&] { harness.state.RequestStop(); });
    Scan({"1^Software\\A=A", "9^Software\\Skipped=Skipped", "1^Software\\SpyCo\\^RunValue=B", "1^Software\\C=C"});

    EXPECT_EQ(harness.state.counters.registryInspected, 2);
    EXPECT_EQ(harness.form.lblStatus.Caption(), "software\\spyco\\\\runvalue\r\nScanning registry: ");
    // 2 of 40 registry lines; 10 cookie + 20 executable + 2 of 100 lines.
    EXPECT_EQ(harness.form.pb1.Value(), 5);
    EXPECT_EQ(harness.form.pb2.Value(), 32);
}

TEST_F(RegistryScanTest, AMissingDefinitionFileEndsTheScanQuietly) {
    ScanRegistryDefinitions(context);
    EXPECT_EQ(harness.state.counters.registryInspected, 0);
    EXPECT_EQ(harness.pump.CallCount(), 0);
}

}  // namespace
}  // namespace bastion
