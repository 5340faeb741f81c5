// The shell facility: special folders as Wine's shell gives them, program
// start and the clipboard.
#include <gtest/gtest.h>

#include "WineTestSupport.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/SystemPrograms.h"
#include "platform/win32/Win32Shell.h"

namespace bastion::win32 {
namespace {

namespace csidl = platform::csidl;

std::string Quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

bool IsAbsoluteDrivePath(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
}

TEST(ShellWineTest, SpecialFoldersAreAbsoluteExistingFoldersWithoutTrailingBackslash) {
    Win32Shell shell;
    Win32FileSystem files;
    for (int id : {csidl::kAppData, csidl::kPrograms, csidl::kCookies, csidl::kWindows, csidl::kSystem,
                   csidl::kProgramFiles}) {
        auto path = shell.SpecialFolderPath(id);
        ASSERT_TRUE(path.has_value()) << "CSIDL " << id;
        EXPECT_TRUE(IsAbsoluteDrivePath(*path)) << *path;
        EXPECT_NE('\\', path->back()) << *path;
        EXPECT_TRUE(files.FolderExists(*path)) << *path;
    }
}

TEST(ShellWineTest, A64BitWindowsNamesThe32BitTwinsAndTheProfiles) {
    Win32Shell shell;
    Win32FileSystem files;
    for (int id : {csidl::kProgramFilesX86, csidl::kProgramFilesCommonX86, csidl::kSystemX86, csidl::kProfile}) {
        auto path = shell.SpecialFolderPath(id);
        ASSERT_TRUE(path.has_value()) << "CSIDL " << id;
        EXPECT_TRUE(files.FolderExists(*path)) << *path;
    }
    EXPECT_NE(shell.SpecialFolderPath(csidl::kProgramFilesX86), shell.SpecialFolderPath(csidl::kProgramFiles));
    EXPECT_NE(shell.SpecialFolderPath(csidl::kSystemX86), shell.SpecialFolderPath(csidl::kSystem));
    auto allUsers = shell.AllUsersProfilePath();
    ASSERT_TRUE(allUsers.has_value());
    EXPECT_TRUE(files.FolderExists(*allUsers)) << *allUsers;
    // The profile, not a folder inside it as the Start menu's parent is.
    auto profile = shell.SpecialFolderPath(csidl::kProfile);
    auto startMenu = shell.SpecialFolderPath(csidl::kStartMenu);
    ASSERT_TRUE(startMenu.has_value());
    EXPECT_EQ(startMenu->rfind(*profile + "\\", 0), 0u) << *startMenu;
}

TEST(ShellWineTest, TheProgramsBastionShowsThingsInLieInTheWindowsFolder) {
    Win32Shell shell;
    Win32FileSystem files;
    const std::string windows = shell.SpecialFolderPath(csidl::kWindows).value_or("");
    for (std::string_view program : {platform::kExplorer, platform::kRegistryEditor, platform::kNotepad}) {
        EXPECT_TRUE(files.Lookup(windows + "\\" + std::string(program)).has_value()) << program;
    }
}

TEST(ShellWineTest, VirtualAndUnknownFoldersHaveNoPath) {
    Win32Shell shell;
    EXPECT_FALSE(shell.SpecialFolderPath(csidl::kBitBucket).has_value());
    EXPECT_FALSE(shell.SpecialFolderPath(0x7E).has_value());
}

TEST(ShellWineTest, ProgramsFolderThroughItsIdListIsTheProgramsFolder) {
    Win32Shell shell;
    auto fromIdList = shell.ProgramsFolderFromIdList();
    ASSERT_TRUE(fromIdList.has_value());
    EXPECT_EQ(shell.SpecialFolderPath(csidl::kPrograms), fromIdList);
}

TEST(ShellWineTest, StartedProgramReceivesItsWholeCommandLine) {
    Win32Shell shell;
    Win32FileSystem files;
    test::ScratchFolder scratch;
    std::string marker = scratch / "started by the shell.txt";
    std::string commandLine = Quoted(test::ProgramFolder() + "\\SleepyChild.exe") + " --touch " + Quoted(marker);
    ASSERT_TRUE(shell.StartProgram(commandLine, platform::ShowWindow::Hidden));
    bool created = false;
    for (int attempt = 0; attempt < 200 && !created; ++attempt) {
        created = files.Lookup(marker).has_value();
        if (!created) {
            ::Sleep(50);
        }
    }
    EXPECT_TRUE(created);
    ::Sleep(200);  // the child's handle on the file is closed by then

    EXPECT_FALSE(shell.StartProgram(Quoted(scratch / "no such program.exe"), platform::ShowWindow::Normal));
}

TEST(ShellWineTest, ClipboardKeepsUnicodeText) {
    Win32Shell shell;
    ASSERT_TRUE(shell.SetClipboardText("Ünïcode ✓ 世界"));
    EXPECT_EQ("Ünïcode ✓ 世界", shell.GetClipboardText());
    ASSERT_TRUE(shell.SetClipboardText(""));
    EXPECT_EQ("", shell.GetClipboardText());
}

}  // namespace
}  // namespace bastion::win32
