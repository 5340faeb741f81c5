#include "definitions/RowIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bastion {
namespace {

std::vector<std::uint32_t> Rows(const RowIndex& index, std::string_view key) {
    std::vector<std::uint32_t> rows;
    for (std::uint32_t row = index.First(key, RowIndex::Hash(key)); row != RowIndex::kNone; row = index.Next(row)) {
        rows.push_back(row);
    }
    return rows;
}

// Keys are placed in batches at look-ups: a key met again after its first
// batch must join the same chain, in row order, however the batches fall.
TEST(RowIndexTest, RowsOfOneKeyChainInOrderAcrossLookUps) {
    RowIndex index;
    const std::string a = "a.dll";
    const std::string b = "b.dll";
    index.AddKept(a, 0);
    index.AddKept(b, 1);
    index.AddKept(a, 2);
    EXPECT_EQ(Rows(index, "a.dll"), (std::vector<std::uint32_t>{0, 2}));
    index.AddKept(a, 5);
    index.AddKept(b, 7);
    index.Place();
    index.AddKept(a, 9);
    EXPECT_EQ(Rows(index, "a.dll"), (std::vector<std::uint32_t>{0, 2, 5, 9}));
    EXPECT_EQ(Rows(index, "b.dll"), (std::vector<std::uint32_t>{1, 7}));
    EXPECT_TRUE(Rows(index, "c.dll").empty());
}

// Copied keys outlive the text they came from, also when the index is moved
// and grows well past its first size.
TEST(RowIndexTest, CopiedKeysSurviveTheirSourceMovesAndGrowth) {
    RowIndex index;
    for (std::uint32_t row = 0; row < 5000; ++row) {
        index.Add("key" + std::to_string(row % 2500), row);
        if (row == 100) {
            EXPECT_EQ(Rows(index, "key100"), std::vector<std::uint32_t>{100});
        }
    }
    RowIndex moved = std::move(index);
    EXPECT_EQ(Rows(moved, "key100"), (std::vector<std::uint32_t>{100, 2600}));
    EXPECT_EQ(Rows(moved, "key2499"), (std::vector<std::uint32_t>{2499, 4999}));
    EXPECT_TRUE(Rows(moved, "key2500").empty());
}

}  // namespace
}  // namespace bastion
