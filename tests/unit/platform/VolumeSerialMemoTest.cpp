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

    // Listed again, a folder is remembered as it is now.
    memo.Remember(L"C:\\Data", 7, {L"New"});
    EXPECT_FALSE(memo.Find(L"C:\\Data\\Plain").has_value());
    EXPECT_EQ(memo.Find(L"C:\\Data\\New"), 7u);
    memo.Remember(L"C:\\Data", 7, {});
    EXPECT_FALSE(memo.Find(L"C:\\Data\\New").has_value());
}

TEST(VolumeSerialMemoTest, AWalkKeepsTheFoldersAboveItWhileLeavesAndFinishedFoldersGo) {
    VolumeSerialMemo memo;
    memo.Remember(L"D:\\", 1, {L"Top"});
    memo.Remember(L"D:\\Top", 1, {L"A", L"B"});
    // A wide subtree below A, with a leaf under every folder.
    for (int i = 0; i < 3000; ++i) {
        const std::wstring folder = L"D:\\Top\\A\\F" + std::to_wstring(i);
        memo.Remember(folder, 1, {L"Leaf"});
        EXPECT_EQ(memo.Find(folder + L"\\Leaf"), 1u);
        memo.Remember(folder + L"\\Leaf", 1, {});
        if (i % 500 == 0) {
            // A's siblings come much later; Top is used by each of them.
            memo.Remember(L"D:\\Top\\A", 1, {L"F" + std::to_wstring(i + 1)});
            EXPECT_EQ(memo.Find(L"D:\\Top\\A"), 1u);
        }
    }
    EXPECT_LE(memo.Size(), VolumeSerialMemo::kFolders);
    EXPECT_EQ(memo.Find(L"D:\\Top\\B"), 1u);
    EXPECT_FALSE(memo.Find(L"D:\\Top\\A\\F0\\Leaf").has_value());
}

}  // namespace
}  // namespace bastion::platform
