#include "definitions/RowIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace bastion {
namespace {

// The entries' keys, kept beside the index as a table keeps its rows.
struct Keys {
    std::vector<std::string> of;
    bool Equal(std::uint32_t entry, std::string_view key) const { return of[entry] == key; }
    std::uint64_t Hash(std::uint32_t entry) const { return RowIndex::Hash(of[entry]); }

    void Add(RowIndex& index, std::uint32_t entry, const std::string& key) {
        if (of.size() <= entry) of.resize(entry + 1);
        of[entry] = key;
        index.Add(entry, key, RowIndex::Hash(key), *this);
    }
    std::vector<std::uint32_t> Entries(const RowIndex& index, std::string_view key) const {
        std::vector<std::uint32_t> entries;
        for (std::uint32_t e = index.First(key, RowIndex::Hash(key), *this); e != RowIndex::kNone; e = index.Next(e)) {
            entries.push_back(e);
        }
        return entries;
    }
};

// Look-ups between additions, entries that skip numbers, and growth from
// the first sixteen slots to thousands: every key keeps its entries in
// order.
TEST(RowIndexTest, EntriesOfOneKeyStayInOrderThroughLookUpsAndGrowth) {
    RowIndex index;
    Keys keys;
    keys.Add(index, 0, "a.dll");
    keys.Add(index, 1, "b.dll");
    keys.Add(index, 2, "a.dll");
    EXPECT_EQ(keys.Entries(index, "a.dll"), (std::vector<std::uint32_t>{0, 2}));
    keys.Add(index, 5, "a.dll");
    keys.Add(index, 7, "b.dll");
    keys.Add(index, 9, "a.dll");
    EXPECT_EQ(keys.Entries(index, "a.dll"), (std::vector<std::uint32_t>{0, 2, 5, 9}));
    EXPECT_EQ(keys.Entries(index, "b.dll"), (std::vector<std::uint32_t>{1, 7}));
    EXPECT_TRUE(keys.Entries(index, "c.dll").empty());

    for (std::uint32_t entry = 10; entry < 5010; ++entry) keys.Add(index, entry, "key" + std::to_string(entry % 2500));
    EXPECT_EQ(keys.Entries(index, "key100"), (std::vector<std::uint32_t>{100, 2600}));
    EXPECT_EQ(keys.Entries(index, "a.dll"), (std::vector<std::uint32_t>{0, 2, 5, 9}));
    EXPECT_TRUE(keys.Entries(index, "key2500").empty());
}

// A definition set may name one file a hundred thousand times: each entry
// joins its key's ring in one step, and all come back in order.
TEST(RowIndexTest, ManyEntriesOfOneKey) {
    RowIndex index;
    Keys keys;
    index.Reserve(2);
    for (std::uint32_t entry = 0; entry < 100'000; ++entry) keys.Add(index, entry, entry % 1000 == 7 ? "other" : "same");
    const std::vector<std::uint32_t> same = keys.Entries(index, "same");
    ASSERT_EQ(same.size(), 99'900u);
    EXPECT_TRUE(std::is_sorted(same.begin(), same.end()));
    EXPECT_EQ(keys.Entries(index, "other").size(), 100u);
}

// The byte kept beside each slot must tell apart keys whose slots lie close
// together, or every step of a probe asks the owner for a key (which costs
// a table a folder's expansion).
TEST(RowIndexTest, DistinctKeysSeldomAskTheOwner) {
    struct Counting : Keys {
        mutable std::size_t asked = 0;
        bool Equal(std::uint32_t entry, std::string_view key) const {
            ++asked;
            return Keys::Equal(entry, key);
        }
    } keys;
    RowIndex index;
    constexpr std::uint32_t kKeys = 50'000;
    index.Reserve(kKeys);
    keys.of.resize(kKeys);
    for (std::uint32_t entry = 0; entry < kKeys; ++entry) {
        keys.of[entry] = "c:\\program files\\vendor" + std::to_string(entry);
        index.Add(entry, keys.of[entry], RowIndex::Hash(keys.of[entry]), keys);
    }
    for (std::uint32_t entry = 0; entry < kKeys; ++entry) {
        const std::string missing = keys.of[entry] + "x";
        EXPECT_EQ(index.First(missing, RowIndex::Hash(missing), keys), RowIndex::kNone);
    }
    EXPECT_LT(keys.asked, kKeys / 200);
}

}  // namespace
}  // namespace bastion
