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
    EXPECT_EQ(testing::ScanHarness::Rows(state.ActivityList()),
              (std::vector<std::string>{
                  "Spy Key|" + location + "\\SpyKey#2/0",
                  "RegKey " + scratch + "\\Bare|" + location + "\\Bare#2/0",
                  "Spy Value|" + location + "\\Run\\SpyValue#2/0",
                  "Drive Value|" + location + "\\Run\\" + tokens.DriveRoot() + "spy.exe#2/0",
                  "EXCLUDED|" + location + "\\Excluded#5/0",
                  "EXCLUDED|" + location + "\\Excluded\\Hidden#5/0",
                  "Machine Value|HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                  "ProgramFilesDir#2/0",
              }));
    EXPECT_EQ(testing::ScanHarness::Rows(state.RegistryQueue()),
              (std::vector<std::string>{
                  "-2147483647|" + scratch + "\\SpyKey||Spy Key#0/0",
                  "-2147483647|" + scratch + "\\Bare||#0/0",
                  "-2147483647|" + scratch + "\\Run\\|SpyValue|Spy Value#0/0",
                  "-2147483647|" + scratch + "\\Run\\|" + tokens.DriveRoot() + "spy.exe|Drive Value#0/0",
                  "-2147483646|Software\\Microsoft\\Windows\\CurrentVersion\\|ProgramFilesDir|Machine Value#0/0",
              }));
    EXPECT_EQ(state.ResultsList().SubItem(0, 2), "Adware");
    EXPECT_EQ(state.counters.registryInspected, 9);
    EXPECT_EQ(state.counters.itemsFound, 5);
}

}  // namespace
}  // namespace bastion::win32
