#include <gtest/gtest.h>

#include <set>

#include "definitions/ThreatTypes.h"
#include "ui/forms/FrmMain.h"

namespace bastion {
namespace {

TEST(FillThreatRisks, TypesGetTheirRiskAndDescriptionComparedExactly) {
    ui::FrmMain form;
    ui::ListView& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    std::size_t untyped = results.Add("No type", ui::kIconFile);
    std::size_t cookie = results.Add("Cookie: user@ads.example[1].txt", ui::kIconCookie);
    results.SetSubItem(cookie, 2, "Tracking Cookie");
    std::size_t lower = results.Add("Lower case", ui::kIconFile);
    results.SetSubItem(lower, 2, "spyware");
    std::size_t unknown = results.Add("Unknown type", ui::kIconFile);
    results.SetSubItem(unknown, 2, "Rootkit");
    results.SetSubItem(unknown, 3, "kept");
    std::size_t browser = results.Add("BHO", ui::kIconRegistry);
    results.SetSubItem(browser, 2, "Browser Helper Object");

    FillThreatRisks(results);

    EXPECT_EQ(results.SubItem(untyped, 3), "Medium");
    EXPECT_EQ(results.SubItem(untyped, 4), "Unknown");
    EXPECT_EQ(results.SubItem(cookie, 3), "Low");
    EXPECT_EQ(results.SubItem(cookie, 4), "Not malicious but can be a privacy concern");
    EXPECT_EQ(results.SubItem(lower, 3), "");
    EXPECT_EQ(results.SubItem(lower, 4), "");
    EXPECT_EQ(results.SubItem(unknown, 3), "kept");
    EXPECT_EQ(results.SubItem(unknown, 4), "");
    EXPECT_EQ(results.SubItem(browser, 3), "Low/Medium/High");
    EXPECT_EQ(results.SubItem(browser, 4),
              "If you installed this software it is not a threat.  Otherwise you should research it.  "
              "This software embeds itself in your browser.");
}

// A type listed twice would show the risk of its first entry only; every
// type the catalogue lists is found as its own entry and shows a risk and
// a description.
TEST(ThreatTypeCatalogue, EveryTypeAppearsOnceAndIsFoundWithItsRiskAndDetails) {
    std::set<std::string_view> seen;
    for (const ThreatType& entry : ThreatTypeCatalogue()) {
        EXPECT_TRUE(seen.insert(entry.type).second) << entry.type;
        EXPECT_EQ(FindThreatType(entry.type), &entry) << entry.type;
        EXPECT_FALSE(entry.risk.empty()) << entry.type;
        EXPECT_FALSE(entry.details.empty()) << entry.type;
    }
    EXPECT_EQ(FindThreatType("trojan"), nullptr) << "types are compared exactly";
}

}  // namespace
}  // namespace bastion
