// The identity comes from the program file's own version resource, so a
// build configured with another product name is another product: it has
// its own, fresh settings store.
#include <gtest/gtest.h>

#include "BuildIdentity.h"
#include "ChildProcess.h"
#include "WineTestSupport.h"
#include "platform/win32/Win32Registry.h"
#include "services/settings/SettingKeys.h"
#include "ui/win32/IdentityFromVersionResource.h"

namespace bastion::win32 {
namespace {

using platform::Hive;

constexpr const char* kSettingsRoot = "Software\\VB and VBA Program Settings\\";

// Wine shows the Linux file system as drive Z:.
std::string WindowsPathOf(std::string linuxPath) {
    for (char& c : linuxPath)
        if (c == '/') c = '\\';
    return "Z:" + linuxPath;
}

TEST(IdentityWineTest, BastionExeCarriesTheConfiguredIdentityInItsVersionResource) {
    const auto strings = ReadVersionStrings(WindowsPathOf(BASTION_EXE_PATH));
    ASSERT_TRUE(strings.has_value());
    const services::Identity identity = IdentityFromVersionStrings(*strings);
    EXPECT_EQ(build::kProductName, identity.productName);
    EXPECT_EQ(build::kCompanyName, identity.companyName);
    EXPECT_EQ(build::kWebsite, identity.website);
    EXPECT_EQ(build::kVersionMajor, identity.versionMajor);
    EXPECT_EQ(build::kVersionMinor, identity.versionMinor);
    EXPECT_EQ(build::kProductName, identity.programTitle);
    EXPECT_EQ(0, identity.brandingNumber);
}

TEST(IdentityWineTest, AProgramWithoutVersionResourceHasTheBuildIdentity) {
    const services::Identity identity = ReadOwnIdentity();
    EXPECT_EQ(build::kProductName, identity.productName);
    EXPECT_EQ(build::kCompanyName, identity.companyName);
}

TEST(IdentityWineTest, AnotherProductNameGivesAFreshSettingsStore) {
    Win32Registry registry;
    const std::string otherSection = std::string(kSettingsRoot) + "Bastion Other Brand\\Settings";
    const std::string ownSection = std::string(kSettingsRoot) + build::kProductName + "\\Settings";
    const std::string marker = test::UniqueName("Marker");

    // The helper's version resource names the product "Bastion Other
    // Brand"; it reads its identity, reports whether its store was fresh
    // (exit code 0) and writes the marker.
    registry.DeleteTree(Hive::CurrentUser, std::string(kSettingsRoot) + "Bastion Other Brand");
    std::string commandLine = test::ProgramFolder();
    commandLine.insert(0, 1, '"');
    commandLine.append("\\OtherBrandSettings.exe\" ").append(marker);
    const test::ChildResult run = test::RunChild(commandLine);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(0u, run.exitCode) << run.output;

    platform::RegValue value;
    EXPECT_EQ(platform::kRegOk, registry.QueryValue(Hive::CurrentUser, otherSection, marker, value));
    EXPECT_EQ("written", value.text);
    EXPECT_EQ(platform::kRegNotFound, registry.QueryValue(Hive::CurrentUser, ownSection, marker, value));
    registry.DeleteTree(Hive::CurrentUser, std::string(kSettingsRoot) + "Bastion Other Brand");
}

}  // namespace
}  // namespace bastion::win32
