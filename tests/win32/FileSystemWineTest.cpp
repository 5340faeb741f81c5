// The file system facility on Wine's drive C: listings, lookups, long paths
// and folder trees in a scratch folder under %TEMP%.
#include <gtest/gtest.h>

#include <algorithm>

#include "WineTestSupport.h"
#include "common/Text.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"

namespace bastion::win32 {
namespace {

using platform::DirEntry;
using platform::kAttrDirectory;
using platform::kAttrHidden;
using platform::kAttrReadOnly;
using platform::kAttrSystem;

const DirEntry* Find(const std::vector<DirEntry>& entries, const std::string& name) {
    auto it = std::find_if(entries.begin(), entries.end(), [&](const DirEntry& e) { return e.name == name; });
    return it == entries.end() ? nullptr : &*it;
}

// Wine keeps DOS attributes in extended attributes of the host file
// system; where the host cannot store them, hidden and system cannot be set.
bool HostKeepsDosAttributes(Win32FileSystem& files, const std::string& path) {
    auto entry = files.Lookup(path);
    return entry && (entry->attributes & kAttrHidden) != 0;
}

class FileSystemWineTest : public ::testing::Test {
protected:
    Win32FileSystem files;
    test::ScratchFolder scratch;
};

TEST_F(FileSystemWineTest, ListingHoldsHiddenAndSystemEntriesAndReportsAttributesExactly) {
    ASSERT_TRUE(files.WriteFile(scratch / "plain.txt", "abc"));
    ASSERT_TRUE(files.WriteFile(scratch / "hidden.txt", "h"));
    ASSERT_TRUE(files.WriteFile(scratch / "system.txt", "s"));
    ASSERT_TRUE(files.CreateFolder(scratch / "folder"));
    ASSERT_TRUE(files.CreateFolder(scratch / "hiddenfolder"));
    ASSERT_TRUE(files.SetAttributes(scratch / "hidden.txt", kAttrHidden));
    ASSERT_TRUE(files.SetAttributes(scratch / "system.txt", kAttrSystem));
    ASSERT_TRUE(files.SetAttributes(scratch / "hiddenfolder", kAttrDirectory | kAttrHidden));
    if (!HostKeepsDosAttributes(files, scratch / "hidden.txt")) {
        GTEST_SKIP() << "the host file system under this Wine prefix stores no DOS attributes";
    }

    auto listing = files.ListDirectory(scratch.Path());
    ASSERT_TRUE(listing.has_value());
    std::vector<std::string> names;
    for (const DirEntry& entry : listing->entries) {
        names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"folder", "hidden.txt", "hiddenfolder", "plain.txt", "system.txt"}), names);
    EXPECT_EQ(kAttrDirectory | kAttrHidden, Find(listing->entries, "hiddenfolder")->attributes);

    EXPECT_EQ(kAttrDirectory, Find(listing->entries, "folder")->attributes);
    const DirEntry* plain = Find(listing->entries, "plain.txt");
    EXPECT_EQ(3u, plain->size);
    EXPECT_EQ(0u, plain->attributes & (kAttrDirectory | kAttrHidden | kAttrSystem | kAttrReadOnly));

    // A lookup of the path itself finds hidden entries too.
    auto hidden = files.Lookup(scratch / "hidden.txt");
    ASSERT_TRUE(hidden.has_value());
    EXPECT_EQ("hidden.txt", hidden->name);
}

TEST_F(FileSystemWineTest, ReadOnlyFolderIsListedWithItsReadOnlyBit) {
    // The folder walker treats only attribute 16 exactly as a folder, so the
    // read-only bit must come through as the system stores it.
    ASSERT_TRUE(files.CreateFolder(scratch / "readonly"));
    ASSERT_TRUE(files.SetAttributes(scratch / "readonly", kAttrDirectory | kAttrReadOnly));
    auto stored = files.Lookup(scratch / "readonly");
    ASSERT_TRUE(stored.has_value());
    std::string parent = scratch.Path();
    std::string name = "readonly";
    if ((stored->attributes & kAttrReadOnly) == 0) {
        // Wine ignores a request to make a folder read-only; it reports the
        // bit for a host folder without write permission, which the build
        // puts beside the test program.
        parent = test::ProgramFolder() + "\\fixtures";
        name = "ReadOnlyFolder";
        if (!files.Lookup(parent + "\\" + name)) {
            GTEST_SKIP() << "Wine cannot mark a folder read-only and the build made no read-only folder";
        }
    }
    auto listing = files.ListDirectory(parent);
    ASSERT_TRUE(listing.has_value());
    ASSERT_NE(nullptr, Find(listing->entries, name));
    EXPECT_EQ(kAttrDirectory | kAttrReadOnly, Find(listing->entries, name)->attributes);
    ASSERT_TRUE(files.SetAttributes(scratch / "readonly", kAttrDirectory));
}

TEST_F(FileSystemWineTest, ListingGivesTheSameIdentityForTheSameFolderUnderAnotherSpelling) {
    ASSERT_TRUE(files.CreateFolder(scratch / "Mixed\\Inner"));
    ASSERT_TRUE(files.CreateFolder(scratch / "Other"));
    auto direct = files.ListDirectory(scratch / "Mixed");
    auto upper = files.ListDirectory(scratch / "MIXED\\");
    auto viaParent = files.ListDirectory(scratch / "Mixed\\Inner\\..");
    auto other = files.ListDirectory(scratch / "Other");
    ASSERT_TRUE(direct && upper && viaParent && other);
    ASSERT_TRUE(direct->identity.valid);
    EXPECT_EQ(direct->identity, upper->identity);
    EXPECT_EQ(direct->identity, viaParent->identity);
    EXPECT_NE(direct->identity, other->identity);
    ASSERT_EQ(1u, direct->entries.size());
    EXPECT_EQ("Inner", direct->entries[0].name);

    EXPECT_FALSE(files.ListDirectory(scratch / "Absent").has_value());
    auto empty = files.ListDirectory(scratch / "Other");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->entries.empty());
    ASSERT_TRUE(files.WriteFile(scratch / "file.txt", "x"));
    EXPECT_FALSE(files.ListDirectory(scratch / "file.txt").has_value());

    // Listed below its parent, a folder takes the parent's volume serial
    // instead of asking the volume again: the identity is the same as when
    // it is listed on its own.
    Win32FileSystem walking;
    ASSERT_TRUE(walking.ListDirectory(scratch.Path()).has_value());
    auto below = walking.ListDirectory(scratch / "Mixed");
    ASSERT_TRUE(below && below->identity.valid);
    EXPECT_EQ(direct->identity, below->identity);
}

TEST_F(FileSystemWineTest, LookupReturnsTheStoredNameAttributesAndSize) {
    ASSERT_TRUE(files.WriteFile(scratch / "Report.TXT", std::string(1000, 'x')));
    auto entry = files.Lookup(scratch / "report.txt");
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ("Report.TXT", entry->name);
    EXPECT_EQ(1000u, entry->size);
    auto folder = files.Lookup(scratch.Path());
    ASSERT_TRUE(folder.has_value());
    EXPECT_NE(0u, folder->attributes & kAttrDirectory);
    EXPECT_FALSE(files.Lookup(scratch / "absent.txt").has_value());

    EXPECT_EQ(1000u, files.FileSize(scratch / "Report.TXT"));
    EXPECT_FALSE(files.FileSize(scratch.Path()).has_value());
    EXPECT_TRUE(files.FolderExists(scratch.Path()));
    EXPECT_FALSE(files.FolderExists(scratch / "Report.TXT"));
}

TEST_F(FileSystemWineTest, WritesAppendsReadsAndReplacesFiles) {
    std::string binary;
    for (int i = 0; i < 256; ++i) {
        binary += static_cast<char>(i);
    }
    ASSERT_TRUE(files.WriteFile(scratch / "data.bin", binary));
    ASSERT_TRUE(files.AppendFile(scratch / "data.bin", "tail"));
    ASSERT_TRUE(files.AppendFile(scratch / "new.txt", "created"));
    EXPECT_EQ(binary + "tail", files.ReadFile(scratch / "data.bin"));
    EXPECT_EQ("created", files.ReadFile(scratch / "new.txt"));
    EXPECT_EQ('l', files.LastByte(scratch / "data.bin"));
    EXPECT_EQ('d', files.LastByte(scratch / "new.txt"));
    ASSERT_TRUE(files.WriteFile(scratch / "empty.txt", ""));
    EXPECT_FALSE(files.LastByte(scratch / "empty.txt").has_value());
    EXPECT_FALSE(files.LastByte(scratch / "absent.txt").has_value());
    ASSERT_TRUE(files.WriteFile(scratch / "data.bin", "short"));
    EXPECT_EQ("short", files.ReadFile(scratch / "data.bin"));  // truncated, not overwritten in place
    EXPECT_FALSE(files.ReadFile(scratch / "absent.bin").has_value());

    auto reader = files.OpenForRead(scratch / "new.txt");
    ASSERT_NE(nullptr, reader);
    char buffer[4];
    EXPECT_EQ(4u, reader->Read(buffer, 4));
    EXPECT_EQ(3u, reader->Read(buffer, 4));
    EXPECT_EQ(0u, reader->Read(buffer, 4));
    EXPECT_EQ(nullptr, files.OpenForRead(scratch / "absent.bin"));

    ASSERT_TRUE(files.WriteFile(scratch / "next.tmp", "new content"));
    ASSERT_TRUE(files.MoveReplace(scratch / "next.tmp", scratch / "data.bin"));
    EXPECT_EQ("new content", files.ReadFile(scratch / "data.bin"));
    EXPECT_FALSE(files.Lookup(scratch / "next.tmp").has_value());

    EXPECT_FALSE(files.CopyFile(scratch / "new.txt", scratch / "data.bin", false));
    EXPECT_EQ("new content", files.ReadFile(scratch / "data.bin"));
    EXPECT_TRUE(files.CopyFile(scratch / "new.txt", scratch / "data.bin", true));
    EXPECT_EQ("created", files.ReadFile(scratch / "data.bin"));
    EXPECT_TRUE(files.DeleteFile(scratch / "data.bin"));
    EXPECT_FALSE(files.DeleteFile(scratch / "data.bin"));
}

TEST_F(FileSystemWineTest, PathsLongerThanTheClassicLimitWork) {
    std::string folder = scratch.Path();
    while (folder.size() < 300) {
        folder += "\\a_rather_long_folder_name_" + std::to_string(folder.size());
    }
    ASSERT_TRUE(files.CreateFolder(folder));
    std::string file = folder + "\\deep file.txt";
    ASSERT_GT(file.size(), 260u);
    ASSERT_TRUE(files.WriteFile(file, "deep"));
    auto listing = files.ListDirectory(folder);
    ASSERT_TRUE(listing.has_value());
    ASSERT_EQ(1u, listing->entries.size());
    EXPECT_EQ("deep file.txt", listing->entries[0].name);
    EXPECT_TRUE(listing->identity.valid);
    EXPECT_EQ("deep", files.ReadFile(file));
    EXPECT_EQ(4u, files.FileSize(file));
    EXPECT_EQ("deep file.txt", files.Lookup(file)->name);

    std::string top = scratch / "a_rather_long_folder_name_" + std::to_string(scratch.Path().size());
    ASSERT_TRUE(files.DeleteFolderTree(top));
    EXPECT_FALSE(files.FolderExists(top));
}

TEST_F(FileSystemWineTest, FolderTreesAreCopiedAndDeletedWithReadOnlyAndHiddenContent) {
    ASSERT_TRUE(files.CreateFolder(scratch / "tree\\sub\\leaf"));
    ASSERT_TRUE(files.WriteFile(scratch / "tree\\top.txt", "top"));
    ASSERT_TRUE(files.WriteFile(scratch / "tree\\sub\\locked.txt", "ro"));
    ASSERT_TRUE(files.WriteFile(scratch / "tree\\sub\\leaf\\hidden.txt", "h"));
    ASSERT_TRUE(files.SetAttributes(scratch / "tree\\sub\\locked.txt", kAttrReadOnly));
    ASSERT_TRUE(files.SetAttributes(scratch / "tree\\sub\\leaf\\hidden.txt", kAttrHidden));
    ASSERT_TRUE(files.SetAttributes(scratch / "tree\\sub\\leaf", kAttrDirectory | kAttrReadOnly));

    ASSERT_TRUE(files.CopyFolderTree(scratch / "tree", scratch / "copy\\of\\tree"));
    EXPECT_EQ("top", files.ReadFile(scratch / "copy\\of\\tree\\top.txt"));
    EXPECT_EQ("ro", files.ReadFile(scratch / "copy\\of\\tree\\sub\\locked.txt"));
    EXPECT_EQ("h", files.ReadFile(scratch / "copy\\of\\tree\\sub\\leaf\\hidden.txt"));
    // A copy into the folder being copied would never end.
    EXPECT_FALSE(files.CopyFolderTree(scratch / "tree", scratch / "tree\\sub\\again"));

    EXPECT_TRUE(files.DeleteFolderTree(scratch / "tree"));
    EXPECT_FALSE(files.FolderExists(scratch / "tree"));
    EXPECT_TRUE(files.DeleteFolderTree(scratch / "copy\\"));
    EXPECT_FALSE(files.FolderExists(scratch / "copy"));
    EXPECT_FALSE(files.DeleteFolderTree(scratch / "copy"));
}

TEST_F(FileSystemWineTest, FolderLinksShareTheTargetIdentityAndAreNotFollowedWhenDeleting) {
    ASSERT_TRUE(files.CreateFolder(scratch / "target"));
    ASSERT_TRUE(files.WriteFile(scratch / "target\\keep.txt", "keep"));
    ASSERT_TRUE(files.CreateFolder(scratch / "tree"));
    // Wine 8 answers success to CreateSymbolicLinkW without creating
    // anything, hence the look at what is really there.
    if (!::CreateSymbolicLinkW(Widen(scratch / "tree\\link").c_str(), Widen(scratch / "target").c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY) ||
        !files.Lookup(scratch / "tree\\link")) {
        GTEST_SKIP() << "this system cannot create folder links";
    }
    // The cycle check of the walker: a folder reached through a link is the
    // folder itself.
    auto viaLink = files.ListDirectory(scratch / "tree\\link");
    auto direct = files.ListDirectory(scratch / "target");
    ASSERT_TRUE(viaLink && direct);
    EXPECT_EQ(direct->identity, viaLink->identity);
    auto link = files.Lookup(scratch / "tree\\link");
    ASSERT_TRUE(link.has_value());
    EXPECT_NE(0u, link->attributes & platform::kAttrReparsePoint);

    ASSERT_TRUE(files.CopyFolderTree(scratch / "tree", scratch / "copy"));
    EXPECT_FALSE(files.Lookup(scratch / "copy\\link\\keep.txt").has_value());

    EXPECT_TRUE(files.DeleteFolderTree(scratch / "tree"));
    EXPECT_FALSE(files.FolderExists(scratch / "tree"));
    EXPECT_EQ("keep", files.ReadFile(scratch / "target\\keep.txt"));
}

TEST_F(FileSystemWineTest, PathsResolveToWhereTheyLeadAndNamesTheSystemWouldCutAreReachedAsTheyAre) {
    ASSERT_TRUE(files.CreateFolder(scratch / "Long Folder Name\\Inner"));
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_NE(::GetShortPathNameW(Widen(scratch / "Long Folder Name").c_str(), shortName, MAX_PATH), 0u);
    const std::string longName = files.FinalPath(scratch / "Long Folder Name");
    EXPECT_TRUE(EndsWith(longName, "\\Long Folder Name")) << longName;
    EXPECT_EQ(files.FinalPath(Narrow(shortName)), longName);
    EXPECT_EQ(files.FinalPath(scratch / "long folder name\\Inner\\..\\.\\Inner"), longName + "\\Inner");
    EXPECT_EQ(files.FinalPath(Narrow(shortName) + "\\Not There\\x.exe"), longName + "\\Not There\\x.exe");

    // "evil.exe " is not "evil.exe": each is written, found and deleted as
    // itself.
    ASSERT_TRUE(files.WriteFile(scratch / "evil.exe", "plain"));
    ASSERT_TRUE(files.WriteFile(scratch / "evil.exe ", "blank"));
    ASSERT_TRUE(files.WriteFile(scratch / "evil.exe.", "dot"));
    EXPECT_EQ(files.Lookup(scratch / "evil.exe ")->name, "evil.exe ");
    EXPECT_EQ(files.ReadFile(scratch / "evil.exe."), "dot");
    EXPECT_TRUE(files.DeleteFile(scratch / "evil.exe "));
    EXPECT_FALSE(files.Lookup(scratch / "evil.exe ").has_value());
    EXPECT_EQ(files.ReadFile(scratch / "evil.exe"), "plain");

    // A name is taken once, whoever asks first.
    EXPECT_TRUE(files.CreateNewFile(scratch / "1_slot"));
    EXPECT_FALSE(files.CreateNewFile(scratch / "1_slot"));
    EXPECT_TRUE(files.CreateNewFolder(scratch / "2_slot"));
    EXPECT_FALSE(files.CreateNewFolder(scratch / "2_slot"));
    EXPECT_FALSE(files.CreateNewFolder(scratch / "1_slot"));

    // A deletion set for the next start is seen, and taken back.
    ASSERT_TRUE(files.DeleteAtRestart(scratch / "evil.exe."));
    EXPECT_TRUE(files.DeletePendingAtRestart(scratch / "EVIL.EXE."));
    EXPECT_FALSE(files.DeletePendingAtRestart(scratch / "evil.exe"));
    EXPECT_TRUE(files.CancelDeleteAtRestart(scratch / "evil.exe."));
    EXPECT_FALSE(files.DeletePendingAtRestart(scratch / "evil.exe."));
}

TEST_F(FileSystemWineTest, DriveCIsAReadyFixedDriveWithVolumeDetails) {
    auto drives = files.ListDrives();
    auto c = std::find_if(drives.begin(), drives.end(), [](const platform::DriveInfo& d) { return d.letter == "C"; });
    ASSERT_NE(drives.end(), c);
    EXPECT_EQ(platform::DriveType::Fixed, c->type);
    EXPECT_TRUE(c->ready);

    EXPECT_TRUE(files.GetVolumeInfo("C:\\").has_value());
    EXPECT_TRUE(files.GetVolumeInfo("C:").has_value());
    auto space = files.GetDriveSpace("C:\\");
    ASSERT_TRUE(space.has_value());
    EXPECT_GT(space->total, 0u);
    EXPECT_LE(space->free, space->total);
}

}  // namespace
}  // namespace bastion::win32
