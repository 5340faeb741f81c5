#include "support/FakeInternet.h"

#include <gtest/gtest.h>

namespace bastion::testing {
namespace {

TEST(FakeInternet, HandsTheBodyOverInChunksWithTheRunningTotal) {
    FakeInternet internet;
    internet.Respond("http://server/date", std::string(600, 'x'));
    std::vector<std::size_t> totals;
    auto result = internet.Get("http://server/date", [&](std::size_t received) { totals.push_back(received); });
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.body.size(), 600u);
    EXPECT_EQ(totals, (std::vector<std::size_t>{256, 512, 600}));
}

TEST(FakeInternet, UnknownAddressesAreUnreachableAndScriptsPlayInTurn) {
    FakeInternet internet;
    internet.RespondInTurn("http://s/u", {{false, 0, ""}, {true, 404, "no"}});
    EXPECT_FALSE(internet.Get("http://s/other").ok);
    EXPECT_FALSE(internet.Get("http://s/u").ok);
    EXPECT_EQ(internet.Get("http://s/u").status, 404);
    EXPECT_EQ(internet.Get("http://s/u").body, "no");
    EXPECT_EQ(internet.requests, (std::vector<std::string>{"http://s/other", "http://s/u", "http://s/u", "http://s/u"}));
}

}  // namespace
}  // namespace bastion::testing
