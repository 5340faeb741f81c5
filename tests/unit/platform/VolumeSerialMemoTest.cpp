#include "platform/VolumeSerialMemo.h"

#include <gtest/gtest.h>

namespace bastion::platform {
namespace {

TEST(VolumeSerialMemoTest, APlainSubfolderOfARememberedFolderHasItsSerial) {
    VolumeSerialMemo memo;
    memo.Remember(L"C:\\Data\\", 7, {L"Plain", L"Other"});
    EXPECT_EQ(memo.Find(L"C:\\Data\\Plain"), 7u);
    EXPECT_EQ(memo.Find(L"C:\\Data\\Other\\"), 7u);
    EXPECT_EQ(memo.Find(L"C:\\Data\\\\Other"), 7u);

    // A junction or mount point was not named as plain: it is asked for.
    EXPECT_FALSE(memo.Find(L"C:\\Data\\Junction"));
    EXPECT_FALSE(memo.Find(L"C:\\Data\\..").has_value());
    EXPECT_FALSE(memo.Find(L"C:\\Data").has_value());
    EXPECT_FALSE(memo.Find(L"C:\\Elsewhere\\Plain").has_value());
    EXPECT_FALSE(memo.Find(L"Plain").has_value());
}

TEST(VolumeSerialMemoTest, ListingAgainReplacesWhatWasRememberedAndTheMemoStaysBounded) {
    VolumeSerialMemo memo;
    memo.Remember(L"D:\\Mount", 1, {L"Gone"});
    memo.Remember(L"D:\\Mount\\", 2, {L"New"});
    EXPECT_FALSE(memo.Find(L"D:\\Mount\\Gone").has_value());
    EXPECT_EQ(memo.Find(L"D:\\Mount\\New"), 2u);

    for (int i = 0; i < 5000; ++i) memo.Remember(L"E:\\F" + std::to_wstring(i), 3, {L"S"});
    EXPECT_EQ(memo.Find(L"E:\\F4999\\S"), 3u);
}

}  // namespace
}  // namespace bastion::platform
