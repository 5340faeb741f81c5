#include "services/settings/SiblingProducts.h"

#include <gtest/gtest.h>

#include "services/settings/SettingsStore.h"
#include "support/FakeRegistry.h"
#include "support/TestIdentity.h"

namespace bastion::services {
namespace {

using platform::Hive;

constexpr const char* kSettingsRoot = "Software\\VB and VBA Program Settings\\";

TEST(SiblingProductsTest, RegistersNameAndProgramFileUnderTheCompany) {
    testing::FakeRegistry registry;
    SettingsStore store(registry, "Testwall");
    RegisterThisProduct(store, testing::TestIdentity(), "C:\\Program Files\\Testwall", "Testwall");

    const std::string section = std::string(kSettingsRoot) + "Pellworth\\Testwall Labs";
    EXPECT_EQ(registry.GetString(Hive::CurrentUser, section, "Name"), "Testwall");
    EXPECT_EQ(registry.GetString(Hive::CurrentUser, section, "File"), "C:\\Program Files\\Testwall\\Testwall.exe");
}

TEST(SiblingProductsTest, TheSiblingIsFoundUnderTheCompanyOrOrvandelForZembrid) {
    testing::FakeRegistry registry;
    SettingsStore store(registry, "Testwall");
    const std::string kestrune = std::string(kSettingsRoot) + "Kestrune\\";
    registry.SetString(Hive::CurrentUser, kestrune + "Testwall Labs", "Name", "Sweeper");
    registry.SetString(Hive::CurrentUser, kestrune + "Testwall Labs", "File", "C:\\Sweeper\\Sweeper.exe");
    registry.SetString(Hive::CurrentUser, kestrune + "Orvandel", "Name", "Orvandel Sweeper");

    Identity identity = testing::TestIdentity();
    SiblingProduct sibling = ReadSiblingProduct(store, identity);
    EXPECT_EQ(sibling.name, "Sweeper");
    EXPECT_EQ(sibling.file, "C:\\Sweeper\\Sweeper.exe");

    identity.programTitle = "Zembrid";
    EXPECT_EQ(SiblingSection(identity), "Orvandel");
    sibling = ReadSiblingProduct(store, identity);
    EXPECT_EQ(sibling.name, "Orvandel Sweeper");
    EXPECT_EQ(sibling.file, "");

    // Registration stays under the company name whatever the title.
    RegisterThisProduct(store, identity, "C:\\Z", "Zembrid");
    EXPECT_TRUE(registry.HasValue(Hive::CurrentUser, std::string(kSettingsRoot) + "Pellworth\\Testwall Labs",
                                  "Name"));

    identity.programTitle = "zembrid";
    EXPECT_EQ(SiblingSection(identity), "Testwall Labs") << "the title is compared exactly";
}

}  // namespace
}  // namespace bastion::services
