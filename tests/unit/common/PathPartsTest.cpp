#include "common/PathParts.h"

#include <gtest/gtest.h>

namespace bastion {
namespace {

TEST(PathPartsTest, FolderAndTitleOfAProgramPath) {
    EXPECT_EQ(FolderOfPath("C:\\Program Files\\Bastion\\Bastion.exe"), "C:\\Program Files\\Bastion");
    EXPECT_EQ(FileTitleOfPath("C:\\Program Files\\Bastion\\Bastion.exe"), "Bastion");
    // Only the last dot of the name starts its extension; dots of folders
    // are no extension.
    EXPECT_EQ(FileTitleOfPath("C:\\My.Tools\\Bastion.Pro.exe"), "Bastion.Pro");
    EXPECT_EQ(FileTitleOfPath("C:\\My.Tools\\Bastion"), "Bastion");
    EXPECT_EQ(FolderOfPath("Bastion.exe"), "");
    EXPECT_EQ(FileTitleOfPath("Bastion.exe"), "Bastion");
}

}  // namespace
}  // namespace bastion
