// The file system fake behaves as the engine's tests assume the real one
// does.
#include "support/FakeFileSystem.h"

#include <gtest/gtest.h>

namespace bastion::testing {
namespace {

using namespace platform;
using Names = std::vector<std::string>;

Names EntryNames(const std::optional<DirListing>& listing) {
    Names names;
    for (const DirEntry& entry : listing.value().entries) {
        names.push_back(entry.name);
    }
    return names;
}

TEST(FakeFileSystem, LooksUpIgnoringCaseAndKeepsTheStoredName) {
    FakeFileSystem files;
    files.AddFile("C:\\Program Files\\SpyCo\\Agent.EXE", "MZ");
    auto entry = files.Lookup("c:\\PROGRAM FILES\\spyco\\agent.exe");
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->name, "Agent.EXE");
    EXPECT_EQ(entry->size, 2u);
    EXPECT_TRUE(files.FolderExists("c:\\program files\\SPYCO\\"));
    EXPECT_TRUE(files.FolderExists("C:\\Program Files\\SpyCo"));
    EXPECT_FALSE(files.FolderExists("C:\\Program Files\\SpyCo\\Agent.exe"));
    // A directory search finds nothing for a path ending in a separator.
    EXPECT_FALSE(files.Lookup("C:\\Program Files\\SpyCo\\Agent.exe\\").has_value());
    EXPECT_FALSE(files.Lookup("C:\\Program Files\\SpyCo\\").has_value());
    EXPECT_EQ(files.Lookup("C:\\Program Files\\SpyCo")->attributes, kAttrDirectory);
    EXPECT_EQ(files.ReadFile("C:/program files//spyco/./AGENT.exe"), "MZ");
}

TEST(FakeFileSystem, ListingAndLookupSeeHiddenAndSystemEntries) {
    FakeFileSystem files;
    files.AddFile("C:\\d\\shown.txt");
    files.AddFile("C:\\d\\hidden.txt", "", kAttrHidden);
    files.AddFolder("C:\\d\\system", kAttrDirectory | kAttrSystem);
    files.AddFolder("C:\\d\\ReadOnly", kAttrDirectory | kAttrReadOnly);
    files.AddFolder("C:\\d\\plain");

    auto listing = files.ListDirectory("C:\\d\\");
    EXPECT_EQ(EntryNames(listing), (Names{"shown.txt", "hidden.txt", "system", "ReadOnly", "plain"}));
    EXPECT_EQ(listing->entries[3].attributes, 17u);
    EXPECT_EQ(listing->entries[4].attributes, 16u);
    EXPECT_EQ(files.Lookup("C:\\d\\hidden.txt")->attributes, kAttrHidden);
    EXPECT_EQ(files.Lookup("C:\\d\\system")->attributes, kAttrDirectory | kAttrSystem);
    EXPECT_EQ(files.ListDirectoryCalls(), 1u);
}

TEST(FakeFileSystem, JunctionShowsTheSameFolderWithTheSameIdentity) {
    FakeFileSystem files;
    files.AddFile("C:\\a\\inside.txt", "x");
    files.AddFolder("C:\\b");
    files.AddJunction("C:\\a\\loop", "C:\\a", kAttrDirectory);

    auto outer = files.ListDirectory("C:\\a");
    auto inner = files.ListDirectory("C:\\a\\loop\\LOOP\\");
    ASSERT_TRUE(outer && inner);
    EXPECT_TRUE(outer->identity.valid);
    EXPECT_EQ(inner->identity, outer->identity);
    EXPECT_NE(files.ListDirectory("C:\\b")->identity, outer->identity);
    EXPECT_EQ(EntryNames(inner), (Names{"inside.txt", "loop"}));
    EXPECT_EQ(files.ReadFile("C:\\a\\loop\\inside.txt"), "x");

    // Deleting the junction removes the link, not what it stands for.
    EXPECT_TRUE(files.DeleteFolderTree("C:\\a\\loop"));
    EXPECT_EQ(files.Tree("C:\\a"), Names{"C:\\a\\inside.txt"});
}

TEST(FakeFileSystem, ReadOnlyAndLockedFilesResistDeletionTreeDeletionTakesReadOnly) {
    FakeFileSystem files;
    files.AddFile("C:\\q\\ro.dll", "", kAttrReadOnly);
    files.AddFile("C:\\q\\sub\\running.exe");
    files.LockFile("C:\\Q\\SUB\\RUNNING.EXE");

    EXPECT_FALSE(files.DeleteFile("C:\\q\\ro.dll"));
    EXPECT_FALSE(files.DeleteFile("C:\\q\\sub\\running.exe"));
    EXPECT_FALSE(files.DeleteFolderTree("C:\\q"));
    EXPECT_EQ(files.Tree("C:\\q"), (Names{"C:\\q\\sub\\", "C:\\q\\sub\\running.exe"}));

    files.UnlockFile("C:\\q\\sub\\running.exe");
    EXPECT_TRUE(files.DeleteFolderTree("C:\\q\\"));
    EXPECT_FALSE(files.FolderExists("C:\\q"));
}

TEST(FakeFileSystem, DrivesComeInLetterOrderAndAnUnreadyDriveCannotBeRead) {
    FakeFileSystem files;
    files.AddDrive("E", DriveType::CdRom, false);
    files.AddDrive("A", DriveType::Removable);
    files.AddFile("E:\\setup.exe");

    auto drives = files.ListDrives();
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].letter, "A");
    EXPECT_EQ(drives[1].letter, "C");
    EXPECT_EQ(drives[2].letter, "E");
    EXPECT_FALSE(drives[2].ready);
    EXPECT_FALSE(files.GetVolumeInfo("E:\\").has_value());
    EXPECT_FALSE(files.ListDirectory("E:\\").has_value());
    EXPECT_TRUE(files.GetVolumeInfo("C:\\").has_value());
    EXPECT_EQ(files.GetDriveSpace("C:\\")->free, FakeDrive{}.free);
}

TEST(FakeFileSystem, MoveReplaceOverwritesFilesButNotFolders) {
    FakeFileSystem files;
    files.AddFile("C:\\d\\new.tmp", "new");
    files.AddFile("C:\\d\\Data.dat", "old");
    files.AddFolder("C:\\d\\folder");
    EXPECT_FALSE(files.MoveReplace("C:\\d\\new.tmp", "C:\\d\\folder"));
    EXPECT_TRUE(files.MoveReplace("C:\\d\\new.tmp", "C:\\d\\data.dat"));
    EXPECT_EQ(files.Tree("C:\\d"), (Names{"C:\\d\\folder\\", "C:\\d\\data.dat"}));
    EXPECT_EQ(files.Content("C:\\d\\DATA.DAT"), "new");
}

}  // namespace
}  // namespace bastion::testing
