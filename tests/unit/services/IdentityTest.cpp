#include "services/identity/Identity.h"

#include <gtest/gtest.h>

#include "support/TestIdentity.h"

namespace bastion::services {
namespace {

TEST(IdentityTest, PlaceholdersAreReplacedIgnoringCaseAtEveryOccurrence) {
    const Identity identity = testing::TestIdentity();
    EXPECT_EQ(ReplaceMessagePlaceholders("[programname] and [PROGRAMNAME] by [CompanyName], [ProgramName]!",
                                         identity),
              "Testwall and Testwall by Testwall Labs, Testwall!");
    EXPECT_EQ(ReplaceCaptionPlaceholders("Visit [WEBSITE] or [website]", identity),
              "Visit www.testwall.example or www.testwall.example");
}

TEST(IdentityTest, MessagesLeaveTheWebsitePlaceholderCaptionsFillIt) {
    const Identity identity = testing::TestIdentity();
    EXPECT_EQ(ReplaceMessagePlaceholders("[ProgramName]: [Website]", identity), "Testwall: [Website]");
    EXPECT_EQ(ReplaceCaptionPlaceholders("[ProgramName] by [companyname]: [Website]", identity),
              "Testwall by Testwall Labs: www.testwall.example");
}

TEST(IdentityTest, VersionIsMajorDotMinorAndTheBrandingNumberIsZero) {
    const Identity identity = testing::TestIdentity();
    EXPECT_EQ(identity.VersionText(), "4.2");
    EXPECT_EQ(identity.brandingNumber, 0);
    EXPECT_EQ(BuildIdentity().brandingNumber, 0);
    EXPECT_FALSE(BuildIdentity().productName.empty());
}

}  // namespace
}  // namespace bastion::services
