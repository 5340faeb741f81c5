// The folder walker on Wine's real file system: a folder prepared under
// %TEMP% with read-only, hidden and system entries, and a tree the build
// prepares with a read-only folder and a host link back to its top. Every
// one of them is examined and every folder entered; the link is not
// followed back.
#include <gtest/gtest.h>

#include <algorithm>

#include "ScanWineContext.h"
#include "common/Text.h"
#include "scan/walk/Walker.h"

namespace bastion::win32 {
namespace {

using platform::kAttrDirectory;
using platform::kAttrHidden;
using platform::kAttrReadOnly;
using platform::kAttrSystem;
using Texts = std::vector<std::string>;

// The scratch data folder is where each test prepares what it walks.
class WalkerWineTest : public ::testing::Test, public test::ScanWineContext {
protected:
    WalkerWineTest() { tables.Create(); }

    // A definition of the file name in exactly this folder: it reports what
    // the walk offered to the file matcher there, under the name as threat.
    void FileIn(const std::string& folder, const std::string& name) {
        tables.Files().Add({ToLower(name), ToLower(folder) + "\\", "", name});
    }
    void FolderAt(const std::string& folder, const std::string& threat) {
        tables.Directories().Add({"label", ToLower(folder), "", threat});
    }
    // What the walk reported, in name order (the host lists in its own).
    Texts Found() const {
        Texts texts;
        for (const ActivityEntry& entry : Activity()) texts.push_back(entry.name);
        std::sort(texts.begin(), texts.end());
        return texts;
    }
    const test::ScratchFolder& scratch = dataFolder;
};

TEST_F(WalkerWineTest, HiddenSystemAndReadOnlyEntriesAreExaminedAndEnteredLikeAnyOther) {
    const std::string top = scratch / "Top";
    const std::string sub = top + "\\Sub";
    ASSERT_TRUE(files.CreateFolder(sub));
    ASSERT_TRUE(files.CreateFolder(top + "\\HiddenSub"));
    ASSERT_TRUE(files.CreateFolder(top + "\\SystemSub"));
    for (const std::string& path : {top + "\\visible.txt", top + "\\readonly.txt", top + "\\hidden.txt",
                                    top + "\\sysattr.txt", sub + "\\inside.txt", top + "\\HiddenSub\\behind.txt",
                                    top + "\\SystemSub\\behind.txt"}) {
        ASSERT_TRUE(files.WriteFile(path, "content"));
    }
    ASSERT_TRUE(files.SetAttributes(top + "\\readonly.txt", kAttrReadOnly));
    ASSERT_TRUE(files.SetAttributes(top + "\\hidden.txt", kAttrHidden));
    ASSERT_TRUE(files.SetAttributes(top + "\\sysattr.txt", kAttrSystem));
    ASSERT_TRUE(files.SetAttributes(top + "\\HiddenSub", kAttrDirectory | kAttrHidden));
    ASSERT_TRUE(files.SetAttributes(top + "\\SystemSub", kAttrDirectory | kAttrSystem));
    auto hidden = files.Lookup(top + "\\hidden.txt");
    if (!hidden || (hidden->attributes & kAttrHidden) == 0) {
        GTEST_SKIP() << "the host file system under this Wine prefix stores no DOS attributes";
    }
    for (const char* name : {"visible.txt", "readonly.txt", "hidden.txt", "sysattr.txt"}) FileIn(top, name);
    FileIn(sub, "inside.txt");
    FileIn(top + "\\HiddenSub", "behind.txt");
    FileIn(top + "\\SystemSub", "behind.txt");
    FolderAt(top, "Top");
    FolderAt(sub, "Sub");
    FolderAt(top + "\\HiddenSub", "HiddenSub");
    FolderAt(top + "\\SystemSub", "SystemSub");

    ScanContext context = Context();
    ScanFolder(context, top + "\\");

    EXPECT_EQ(Found(), (Texts{"HiddenSub", "Sub", "SystemSub", "Top", "behind.txt", "behind.txt", "hidden.txt",
                              "inside.txt", "readonly.txt", "sysattr.txt", "visible.txt"}));
    // Top, its seven entries and the one in each of its three folders.
    EXPECT_EQ(state.counters.filesInspected, 11);
}

TEST_F(WalkerWineTest, AWalkReachesFilesBeyondTheClassicPathLimit) {
    std::string folder = scratch / "Long";
    int depth = 0;
    while (folder.size() < 300) {
        folder += "\\a_rather_long_folder_name_" + std::to_string(depth++);
    }
    ASSERT_TRUE(files.CreateFolder(folder));
    ASSERT_TRUE(files.WriteFile(folder + "\\deep.txt", "deep"));
    FileIn(folder, "deep.txt");

    ScanContext context = Context();
    ScanFolder(context, scratch / "Long\\");

    EXPECT_EQ(Found(), Texts{"deep.txt"});
    EXPECT_EQ(state.counters.filesInspected, 1 + depth + 1);
}

TEST_F(WalkerWineTest, AWalkEntersAReadOnlyFolderButNoLinkBackToItsTop) {
    const std::string top = test::ProgramFolder() + "\\fixtures\\WalkTree";
    auto readOnly = files.Lookup(top + "\\ReadOnlyFolder");
    auto link = files.Lookup(top + "\\Loop\\back");
    if (!readOnly || !link) {
        GTEST_SKIP() << "the build made no walk fixture (a read-only folder and a link) beside the test program";
    }
    ASSERT_EQ(readOnly->attributes, kAttrDirectory | kAttrReadOnly);
    for (const char* name : {"plain.txt", "ReadOnlyFolder"}) FileIn(top, name);
    FileIn(top + "\\ReadOnlyFolder", "inside.txt");
    FileIn(top + "\\Loop", "back");
    FileIn(top + "\\Loop\\back", "plain.txt");
    FolderAt(top, "Top");
    FolderAt(top + "\\Loop", "Loop");
    FolderAt(top + "\\Loop\\back", "Back");

    ScanContext context = Context();
    ScanFolder(context, top + "\\");

    // Wine 8 lists the link as a plain folder, later ones as a reparse
    // point, which is not examined at all; either way the walk meets the
    // top's content once.
    const bool linkIsFolder = (link->attributes & platform::kAttrReparsePoint) == 0;
    Texts expected{"Loop", "Top", "inside.txt", "plain.txt"};
    if (linkIsFolder) expected.push_back("Back");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Found(), expected);
    // Top, its three entries, the one in the read-only folder and the link.
    EXPECT_EQ(state.counters.filesInspected, linkIsFolder ? 6 : 5);
}

}  // namespace
}  // namespace bastion::win32
