// The registry scan on Wine's real registry: keys and values created under a
// scratch key of HKEY_CURRENT_USER are found, a key definition without a
// threat is listed by its path, an invalid hive number is passed over, and
// an excluded key hides the values below it.
#include <gtest/gtest.h>

#include "ScanWineContext.h"
#include "scan/registry/RegistryScan.h"
#include "support/ScanHarness.h"

namespace bastion::win32 {
namespace {

using platform::Hive;

class RegistryScanWineTest : public ::testing::Test, public test::ScanWineContext {
protected:
    RegistryScanWineTest() : scratch("Software\\" + test::UniqueName("bastion_reg_")) {}
    ~RegistryScanWineTest() override { registry.DeleteTree(Hive::CurrentUser, scratch); }

    void CreateKey(const std::string& key) { ASSERT_EQ(registry.CreateKey(Hive::CurrentUser, scratch + key), 0); }
    void SetValue(const std::string& key, const std::string& name) {
        CreateKey(key);
        ASSERT_EQ(registry.SetValue(Hive::CurrentUser, scratch + key, name, platform::RegValue::String("x")), 0);
    }

    const std::string scratch;
};

TEST_F(RegistryScanWineTest, FindsKeysAndValuesOfTheRealRegistry) {
    CreateKey("\\SpyKey");
    CreateKey("\\Bare");
    SetValue("\\Run", "SpyValue");
    SetValue("\\Run", tokens.DriveRoot() + "spy.exe");
    SetValue("\\Excluded", "Hidden");
    const std::string at = "1^" + scratch;
    WriteDefinitions(datafile::kRegistryDefinitions, {
                                                         at + "\\SpyKey=Spy Key|Adware",
                                                         at + "\\Bare=",
                                                         at + "\\Run\\^SpyValue=Spy Value",
                                                         at + "\\Run\\^[drive]spy.exe=Drive Value",
                                                         "7^" + scratch + "\\SpyKey=Hive Seven",
                                                         at + "\\Excluded=Excluded Key",
                                                         at + "\\Excluded\\^Hidden=Hidden Value",
                                                         at + "\\Missing=Absent Key",
                                                         at + "\\Run\\^Missing=Absent Value",
                                                         // A machine-wide value every Windows has.
                                                         "2^Software\\Microsoft\\Windows\\CurrentVersion\\^"
                                                         "ProgramFilesDir=Machine Value",
                                                     });
    exclusions.Assign({"HKEY_CURRENT_USER\\" + scratch + "\\Excluded"});

    ScanContext context = Context();
    ScanRegistryDefinitions(context);

    const std::string location = "HKEY_CURRENT_USER\\" + scratch;
    EXPECT_EQ(testing::DescribedActivity(state.Results()),
              (std::vector<std::string>{
                  "Spy Key|" + location + "\\SpyKey#Registry",
                  "RegKey " + scratch + "\\Bare|" + location + "\\Bare#Registry",
                  "Spy Value|" + location + "\\Run\\SpyValue#Registry",
                  "Drive Value|" + location + "\\Run\\" + tokens.DriveRoot() + "spy.exe#Registry",
                  "EXCLUDED|" + location + "\\Excluded#Excluded",
                  "EXCLUDED|" + location + "\\Excluded\\Hidden#Excluded",
                  "Machine Value|HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                  "ProgramFilesDir#Registry",
              }));
    EXPECT_EQ(testing::DescribedRegistryItems(state.Results()),
              (std::vector<std::string>{
                  "-2147483647|" + scratch + "\\SpyKey||64",
                  "-2147483647|" + scratch + "\\Bare||64",
                  "-2147483647|" + scratch + "\\Run\\|SpyValue|64",
                  "-2147483647|" + scratch + "\\Run\\|" + tokens.DriveRoot() + "spy.exe|64",
                  "-2147483646|Software\\Microsoft\\Windows\\CurrentVersion\\|ProgramFilesDir|64",
              }));
    EXPECT_EQ(state.Results().detections.at(0).type.name, "Adware");
    EXPECT_EQ(state.counters.registryInspected, 9);
    EXPECT_EQ(state.counters.itemsFound, 5);
}

TEST_F(RegistryScanWineTest, AMachineValueOfThe32BitViewIsFoundThereAndReportedOnce) {
    using platform::RegView;
    const std::string only32 = "Software\\" + test::UniqueName("BastionSpy32_");
    const std::string both = "Software\\" + test::UniqueName("BastionSpyBoth_");
    ASSERT_EQ(registry.CreateKey(Hive::LocalMachine, only32, RegView::Bits32), 0);
    ASSERT_EQ(registry.SetValue(Hive::LocalMachine, only32, "Run", platform::RegValue::String("x"), RegView::Bits32), 0);
    for (RegView view : {RegView::Bits64, RegView::Bits32}) {
        ASSERT_EQ(registry.CreateKey(Hive::LocalMachine, both, view), 0);
    }
    // The 32-bit key by the name the 64-bit view gives it: one key, however
    // it is looked at.
    const std::string node = "Software\\Wow6432Node" + only32.substr(8);
    WriteDefinitions(datafile::kRegistryDefinitions,
                     {"2^" + only32 + "\\^Run=Spy Run", "2^" + node + "\\^Run=Spy Node", "2^" + both + "=Both"});

    ScanContext context = Context();
    ScanRegistryDefinitions(context);
    for (RegView view : {RegView::Bits64, RegView::Bits32}) {
        registry.DeleteTree(Hive::LocalMachine, only32, view);
        registry.DeleteTree(Hive::LocalMachine, both, view);
    }

    const std::string machine = "HKEY_LOCAL_MACHINE\\";
    EXPECT_EQ(testing::DescribedActivity(state.Results()),
              (std::vector<std::string>{
                  "Spy Run|" + machine + only32 + "\\Run (32-bit view)#Registry",
                  "Spy Node|" + machine + node + "\\Run#Registry",
                  "Both|" + machine + both + "#Registry",
                  "Both|" + machine + both + " (32-bit view)#Registry",
              }));
    EXPECT_EQ(testing::DescribedRegistryItems(state.Results()),
              (std::vector<std::string>{
                  "-2147483646|" + only32 + "\\|Run|32",
                  "-2147483646|" + node + "\\|Run|64",
                  "-2147483646|" + both + "||64",
                  "-2147483646|" + both + "||32",
              }));
}

}  // namespace
}  // namespace bastion::win32
