#include "common/Rounding.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace bastion {
namespace {

TEST(BankersRoundTest, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(BankersRound(0.5), 0);
    EXPECT_EQ(BankersRound(1.5), 2);
    EXPECT_EQ(BankersRound(2.5), 2);
    EXPECT_EQ(BankersRound(3.5), 4);
    EXPECT_EQ(BankersRound(-0.5), 0);
    EXPECT_EQ(BankersRound(-1.5), -2);
    EXPECT_EQ(BankersRound(-2.5), -2);
}

TEST(BankersRoundTest, AnythingOffTheHalfGoesToTheNearest) {
    EXPECT_EQ(BankersRound(0.67), 1);
    EXPECT_EQ(BankersRound(0.49999999999), 0);
    EXPECT_EQ(BankersRound(2.5000000001), 3);
    EXPECT_EQ(BankersRound(2.4999999999), 2);
    EXPECT_EQ(BankersRound(-2.5000000001), -3);
    EXPECT_EQ(BankersRound(7.0), 7);
    // A percentage computed as a quotient: 1/3 of 150 is exactly 50.
    EXPECT_EQ(BankersRound(150.0 / 3.0), 50);
}

TEST(BankersRoundTest, OutOfRangeInputSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(BankersRound(1e300), std::numeric_limits<long long>::max());
    EXPECT_EQ(BankersRound(-1e300), std::numeric_limits<long long>::min());
    EXPECT_EQ(BankersRound(std::numeric_limits<double>::infinity()), std::numeric_limits<long long>::max());
    EXPECT_EQ(BankersRound(std::nan("")), 0);
}

}  // namespace
}  // namespace bastion
