// Deleting a folder tree through handles while another program changes it:
// a folder turned into a link between the listing and the deletion is
// removed as a link, never followed, over the fake file system (Wine makes
// no junctions).
#include "platform/FolderHandles.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/FakeFileSystem.h"

namespace bastion::platform {
namespace {

using testing::FakeFileSystem;
using Names = std::vector<std::string>;

TEST(FolderHandles, ADeletedTreeNeverReachesWhereALinkSwappedInLeads) {
    const struct {
        const char* swap;
        const char* whenListed;  // the folder whose listing lets the other program act
        std::function<void(FakeFileSystem&)> act;
    } cases[] = {
        {"a subfolder turned into a junction", "C:\\Spy",
         [](FakeFileSystem& files) {
             files.DeleteFolderTree("C:\\Spy\\sub");
             files.AddJunction("C:\\Spy\\sub", "C:\\Admin");
         }},
        {"a subfolder turned into a symbolic link", "C:\\Spy",
         [](FakeFileSystem& files) {
             files.MoveReplace("C:\\Spy\\sub", "C:\\Elsewhere");
             files.MakeFolderLink("C:\\Spy\\sub", {FolderLinkKind::SymbolicLink, "C:\\Admin"});
         }},
        {"the folder itself moved away and a junction put in its place", "C:\\Spy",
         [](FakeFileSystem& files) {
             files.MoveReplace("C:\\Spy", "C:\\Moved");
             files.AddJunction("C:\\Spy", "C:\\Admin");
         }},
        {"a folder deeper down turned into a junction", "C:\\Spy\\sub",
         [](FakeFileSystem& files) {
             files.DeleteFolderTree("C:\\Spy\\sub\\deeper");
             files.AddJunction("C:\\Spy\\sub\\deeper", "C:\\Admin");
         }},
    };
    for (const auto& c : cases) {
        FakeFileSystem files;
        files.AddFile("C:\\Admin\\config\\SAM", "secrets");
        files.AddFile("C:\\Spy\\spy.exe", "MZ");
        files.AddFile("C:\\Spy\\sub\\deeper\\data.bin", "data");
        bool acted = false;
        files.onListedThroughHandle = [&](const std::string& folder) {
            if (acted || folder != c.whenListed) return;
            acted = true;
            c.act(files);
        };
        DeleteFolderTreeAt(files, "C:\\Spy");
        EXPECT_TRUE(acted) << c.swap;
        EXPECT_EQ(files.Tree("C:\\Admin"), (Names{"C:\\Admin\\config\\", "C:\\Admin\\config\\SAM"})) << c.swap;
        EXPECT_FALSE(files.Lookup("C:\\Spy\\spy.exe")) << c.swap;
    }
}

}  // namespace
}  // namespace bastion::platform
