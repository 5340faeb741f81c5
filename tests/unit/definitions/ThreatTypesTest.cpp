#include <gtest/gtest.h>

#include <set>

#include "definitions/ThreatTypes.h"

namespace bastion {
namespace {

TEST(ThreatTypeOf, TypesGetTheirRiskAndDescriptionComparedExactly) {
    struct Case {
        const char* type;
        const char* risk;
        const char* details;
    };
    for (const Case& c : {
             Case{"", "Medium", "Unknown"},
             Case{"Tracking Cookie", "Low", "Not malicious but can be a privacy concern"},
             Case{"spyware", "", ""},
             Case{"Rootkit", "", ""},
             Case{"Browser Helper Object", "Low/Medium/High",
                  "If you installed this software it is not a threat.  Otherwise you should research it.  "
                  "This software embeds itself in your browser."},
         }) {
        EXPECT_EQ(ThreatTypeOf(c.type), (ThreatType{c.type, c.risk, c.details})) << c.type;
    }
}

// A type listed twice would show the risk of its first entry only; every
// type the catalogue lists is found as its own entry and shows a risk and
// a description.
TEST(ThreatTypeCatalogue, EveryTypeAppearsOnceAndIsFoundWithItsRiskAndDetails) {
    std::set<std::string_view> seen;
    for (const ThreatTypeEntry& entry : ThreatTypeCatalogue()) {
        EXPECT_TRUE(seen.insert(entry.type).second) << entry.type;
        EXPECT_EQ(FindThreatType(entry.type), &entry) << entry.type;
        EXPECT_FALSE(entry.risk.empty()) << entry.type;
        EXPECT_FALSE(entry.details.empty()) << entry.type;
    }
    EXPECT_EQ(FindThreatType("trojan"), nullptr) << "types are compared exactly";
}

}  // namespace
}  // namespace bastion
