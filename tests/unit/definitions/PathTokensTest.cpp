#include "definitions/PathTokens.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "support/FakeShell.h"

namespace bastion {
namespace {

using platform::csidl::kAppData;
using platform::csidl::kCommonStartMenu;
using platform::csidl::kFonts;
using platform::csidl::kStartMenu;
using testing::FakeShell;

// Counts how often each folder is asked for.
class CountingShell : public FakeShell {
public:
    std::optional<std::string> SpecialFolderPath(int csidl) override {
        ++asked[csidl];
        return FakeShell::SpecialFolderPath(csidl);
    }
    std::optional<std::string> ProgramsFolderFromIdList() override {
        ++askedForPrograms;
        return FakeShell::ProgramsFolderFromIdList();
    }
    std::map<int, int> asked;
    int askedForPrograms = 0;
};

// The expansion done the plain way: every folder looked up afresh, every
// token replaced in table order.
std::string ExpandWithFreshLookUps(platform::Shell& shell, std::string path) {
    namespace c = platform::csidl;
    const std::pair<const char*, int> table[] = {
        {"[startsp]", c::kAltStartup},        {"[appdata]", c::kAppData},
        {"[recycle]", c::kBitBucket},         {"[comstar]", c::kCommonAltStartup},
        {"[comapp]", c::kCommonAppData},      {"[desktop]", c::kCommonDesktopDirectory},
        {"[comdocs]", c::kCommonDocuments},   {"[comfav]", c::kCommonFavorites},
        {"[comprog]", c::kCommonPrograms},    {"[comstam]", c::kCommonStartMenu},
        {"[comtemp]", c::kCommonTemplates},   {"[cookies]", c::kCookies},
        {"[comdesk]", c::kDesktopDirectory},  {"[favorit]", c::kFavorites},
        {"[fonts]", c::kFonts},               {"[history]", c::kHistory},
        {"[netcach]", c::kInternetCache},     {"[progs]", c::kPrograms},
        {"[progfil]", c::kProgramFiles},      {"[comprogfil]", c::kProgramFilesCommon},
        {"[personl]", c::kPersonal},          {"[recent]", c::kRecent},
        {"[sendto]", c::kSendTo},             {"[startup]", c::kStartup},
        {"[strtmnu]", c::kStartMenu},         {"[system]", c::kSystem},
        {"[templat]", c::kTemplates},         {"[windir]", c::kWindows},
    };
    for (const auto& [token, id] : table) {
        path = ReplaceAllIgnoreCase(path, token, GetSpecialFolder(shell, id));
    }
    std::string user = GetSpecialFolder(shell, platform::csidl::kProfile);
    if (user.empty()) user = ReplaceAllIgnoreCase(GetSpecialFolder(shell, kStartMenu), "\\Start Menu", "");
    std::string allUsers = shell.AllUsersProfilePath().value_or("");
    allUsers = allUsers.empty() ? ReplaceAllIgnoreCase(GetSpecialFolder(shell, kCommonStartMenu), "\\Start Menu", "")
                                : allUsers + "\\";
    path = ReplaceAll(path, "[user]", user);
    path = ReplaceAll(path, "[alluser]", allUsers);
    return path;
}

const std::string kUser = FakeShell::kUserProfile;
const std::string kAll = FakeShell::kAllUsersProfile;

TEST(PathTokens, FolderTokensIgnoreCaseButProfileTokensDoNot) {
    FakeShell shell;
    const PathTokens tokens = PathTokens::Resolve(shell);
    EXPECT_EQ(tokens.Expand("[windir]system32"), "C:\\WINDOWS\\system32");
    EXPECT_EQ(tokens.Expand("[Windir]system32"), "C:\\WINDOWS\\system32");
    EXPECT_EQ(tokens.Expand("[WINDIR]system32"), "C:\\WINDOWS\\system32");
    EXPECT_EQ(tokens.Expand("[user]Local Settings"), kUser + "\\Local Settings");
    EXPECT_EQ(tokens.Expand("[alluser]Documents"), kAll + "\\Documents");
    EXPECT_EQ(tokens.Expand("[USER]Local Settings"), "[USER]Local Settings");
    EXPECT_EQ(tokens.Expand("[AllUser]Documents"), "[AllUser]Documents");
}

TEST(PathTokens, ExpandsEveryTokenOfAPathAndLeavesTheRest) {
    FakeShell shell;
    const PathTokens tokens = PathTokens::Resolve(shell);
    EXPECT_EQ(tokens.Expand("[progfil]SpyCo|[appdata]SpyCo"),
              "C:\\Program Files\\SpyCo|" + kUser + "\\Application Data\\SpyCo");
    EXPECT_EQ(tokens.Expand("[windir]a;[windir]b"), "C:\\WINDOWS\\a;C:\\WINDOWS\\b");
    EXPECT_EQ(tokens.Expand("C:\\plain\\path.exe"), "C:\\plain\\path.exe");
    EXPECT_EQ(tokens.Expand("[drive]Program Files\\x"), "[drive]Program Files\\x");
    EXPECT_EQ(tokens.Expand("[nosuch]x"), "[nosuch]x");
    // The Recycle Bin has no file-system path.
    EXPECT_EQ(tokens.Expand("[recycle]"), "");
    EXPECT_EQ(tokens.Expand("[recycle]INFO2"), "INFO2");
}

TEST(PathTokens, StoresBackIntoTheCallersString) {
    FakeShell shell;
    const PathTokens tokens = PathTokens::Resolve(shell);
    std::string path = "[fonts]x.ttf";
    std::string& result = ExpandPathTokens(path, tokens);
    EXPECT_EQ(&result, &path);
    EXPECT_EQ(path, "C:\\WINDOWS\\Fonts\\x.ttf");
}

TEST(PathTokens, ProfilesAreTheProfileFoldersTheSystemNames) {
    // Since Vista the Start menus lie deep inside the profiles.
    FakeShell shell;
    shell.SetFolder(kStartMenu, "C:\\Users\\bob\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu");
    shell.SetFolder(kCommonStartMenu, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu");
    shell.SetFolder(platform::csidl::kProfile, "C:\\Users\\bob");
    shell.allUsersProfile = "C:\\ProgramData\\";
    PathTokens tokens = PathTokens::Resolve(shell);
    EXPECT_EQ(tokens.Expand("[user]x"), "C:\\Users\\bob\\x");
    EXPECT_EQ(tokens.Expand("[alluser]x"), "C:\\ProgramData\\x");

    // Where the system names none, the Start menu's parent stands in; a
    // Start menu not called "Start Menu" stands for the profile itself.
    shell.RemoveFolder(platform::csidl::kProfile);
    shell.allUsersProfile.reset();
    shell.SetFolder(kStartMenu, "D:\\Profiles\\bob\\START MENU");
    shell.SetFolder(kCommonStartMenu, "D:\\Profiles\\All\\Startmenue");
    tokens = PathTokens::Resolve(shell);
    EXPECT_EQ(tokens.Expand("[user]x"), "D:\\Profiles\\bob\\x");
    EXPECT_EQ(tokens.Expand("[alluser]x"), "D:\\Profiles\\All\\Startmenue\\x");
}

TEST(PathTokens, ProgramAndSystemFoldersHaveTheir32BitTwinsAsSecondPlacesHoweverSpelt) {
    using Places = std::vector<std::string>;
    FakeShell shell;
    shell.Use64BitWindows();
    PathTokens tokens = PathTokens::Resolve(shell);
    EXPECT_EQ(tokens.PathPlaces("[progfil]SpyCo"),
              (Places{"C:\\Program Files\\SpyCo", "C:\\Program Files (x86)\\SpyCo"}));
    EXPECT_EQ(tokens.PathPlaces("[COMPROGFIL]\\Spy"),
              (Places{"C:\\Program Files\\Common Files\\Spy", "C:\\Program Files (x86)\\Common Files\\Spy"}));
    for (const char* spelling : {"[system]x.dll", "[windir]system32\\x.dll", "[WinDir]\\\\System32\\x.dll",
                                 "[drive]windows\\SYSTEM32\\x.dll"}) {
        const Places places = tokens.PathPlaces(spelling);
        ASSERT_EQ(places.size(), 2u) << spelling;
        EXPECT_EQ(places[1], "C:\\WINDOWS\\SysWOW64\\x.dll") << spelling;
    }
    EXPECT_EQ(tokens.PathPlaces("[windir]system32"), (Places{"C:\\WINDOWS\\system32", "C:\\WINDOWS\\SysWOW64"}));
    // Only the folder itself has a twin, not one whose name begins alike.
    EXPECT_EQ(tokens.PathPlaces("[windir]system32x"), Places{"C:\\WINDOWS\\system32x"});
    EXPECT_EQ(tokens.ThirtyTwoBitPlace("[appdata]x"), nullptr);

    // 32-bit Windows has no twins, or names the folders themselves.
    shell.SetFolder(platform::csidl::kProgramFilesX86, "C:\\PROGRAM FILES");
    shell.RemoveFolder(platform::csidl::kProgramFilesCommonX86);
    shell.SetFolder(platform::csidl::kSystemX86, "C:\\WINDOWS\\system32");
    tokens = PathTokens::Resolve(shell);
    EXPECT_EQ(tokens.PathPlaces("[progfil]SpyCo"), Places{"C:\\Program Files\\SpyCo"});
    EXPECT_EQ(tokens.PathPlaces("[comprogfil]x"), Places{"C:\\Program Files\\Common Files\\x"});
    EXPECT_EQ(tokens.PathPlaces("[system]x"), Places{"C:\\WINDOWS\\system32\\x"});
    EXPECT_EQ(tokens.ThirtyTwoBitPlace("[progfil]"), nullptr);
}

TEST(PathTokens, DriveIsTheDriveRootWrittenWithOrWithoutABackslashAfterIt) {
    FakeShell shell;
    const PathTokens tokens = PathTokens::Resolve(shell);
    for (const char* written : {"[drive]SpyDir", "[drive]\\SpyDir", "[Drive]SpyDir", "[DRIVE]\\\\SpyDir"}) {
        EXPECT_EQ(tokens.PathPlaces(written), std::vector<std::string>{"C:\\SpyDir"}) << written;
    }
    EXPECT_EQ(ReplaceDriveToken("[drive]a|[drive]\\b|[drive]", "\\\\srv\\share\\"),
              "\\\\srv\\share\\a|\\\\srv\\share\\b|\\\\srv\\share\\");
}

TEST(PathTokens, AFolderOnANetworkShareKeepsTheBackslashesThatOpenIt) {
    FakeShell shell;
    shell.SetFolder(platform::csidl::kPersonal, "\\\\server\\share\\Docs");
    const PathTokens tokens = PathTokens::Resolve(shell);
    EXPECT_EQ(tokens.PathPlaces("[personl]\\\\x\\\\y.txt"), std::vector<std::string>{"\\\\server\\share\\Docs\\x\\y.txt"});
    std::string folder;
    tokens.ExpandPathInto("[PERSONL]", folder);
    EXPECT_EQ(folder, "\\\\server\\share\\Docs\\");
    // The text's own doubled backslashes behind a folder that is no share
    // (or none at all) are reduced as ever.
    tokens.ExpandPathInto("[recycle]\\\\spyco\\x", folder);
    EXPECT_EQ(folder, "\\spyco\\x");
    tokens.ExpandPathInto("\\\\spyco\\x", folder);
    EXPECT_EQ(folder, "\\spyco\\x");
}

TEST(PathTokens, ResolvedTableGivesWhatFreshLookUpsGive) {
    FakeShell shell;
    shell.RemoveFolder(platform::csidl::kCookies);
    // Folder texts that hold tokens themselves: a later token in the order
    // is expanded inside them, an earlier one is not.
    shell.SetFolder(kAppData, "E:\\Data[fonts]");
    shell.SetFolder(kFonts, "E:\\Fonts[startsp]");
    const PathTokens tokens = PathTokens::Resolve(shell);
    for (const char* path : {"", "[", "no tokens", "[appdata]x", "[fonts]y", "[COOKIES]c.txt",
                             "[windir][system][progfil]", "[user][alluser][User]", "[[windir]]",
                             "[drive]\\[comprogfil]Common", "[startsp][startup][strtmnu][progs]",
                             "[comstar][comapp][desktop][comdocs][comfav][comprog][comstam][comtemp]",
                             "[comdesk][favorit][history][netcach][personl][recent][sendto][templat]"}) {
        EXPECT_EQ(tokens.Expand(path), ExpandWithFreshLookUps(shell, path)) << path;
    }
}

TEST(PathTokens, GeneratedPathsExpandAsTokenByTokenReplacementDoes) {
    FakeShell shell;
    const PathTokens tokens = PathTokens::Resolve(shell);
    const std::vector<std::string> pieces = {"[windir]", "[WinDir]", "[recycle]", "[progfil]", "[comprogfil]",
                                             "[user]",   "[USER]",   "[alluser]", "[drive]",   "[win",
                                             "dir]",     "[",        "]",         "sys",       "\\",
                                             "[startup]", "[system]", "\xc3\xa9"};
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string path;
        for (int i = static_cast<int>(random() % 6); i > 0; --i) path += pieces[random() % pieces.size()];
        ASSERT_EQ(tokens.Expand(path), ExpandWithFreshLookUps(shell, path)) << path;
    }
}

TEST(PathTokens, AsksTheShellOncePerFolderPerResolve) {
    CountingShell shell;
    // Given apart, so that the id-list answer asks no folder of its own.
    shell.SetProgramsFolderFromIdList("C:\\Menu\\Programs");
    const PathTokens tokens = PathTokens::Resolve(shell);
    for (int line = 0; line < 1000; ++line) {
        tokens.Expand("[windir]system32\\[user]x[recycle]");
    }
    // The 28 folders of the tokens, the profile and three 32-bit twins.
    EXPECT_EQ(shell.asked.size(), 32u);
    for (const auto& [csidl, times] : shell.asked) {
        EXPECT_EQ(times, 1) << "folder " << csidl;
    }
    EXPECT_EQ(shell.askedForPrograms, 1);
    EXPECT_EQ(tokens.DriveRoot(), "C:\\");
}

TEST(PathTokens, UnresolvedTableExpandsEveryTokenToNothing) {
    const PathTokens tokens;
    EXPECT_EQ(tokens.Expand("[windir]system32\\[user]x"), "system32\\x");
}

TEST(SpecialFolders, FolderEndsWithBackslashOrIsEmpty) {
    FakeShell shell;
    EXPECT_EQ(GetSpecialFolder(shell, platform::csidl::kWindows), "C:\\WINDOWS\\");
    EXPECT_EQ(GetSpecialFolder(shell, platform::csidl::kBitBucket), "");
    EXPECT_EQ(GetSpecialFolder(shell, 9999), "");
}

TEST(SpecialFolders, DriveRootIsTheFirstThreeCharactersOfThePrograms) {
    FakeShell shell;
    EXPECT_EQ(GetDriveRoot(shell), "C:\\");
    shell.SetProgramsFolderFromIdList("E:\\");
    EXPECT_EQ(GetDriveRoot(shell), "E:\\");
    shell.SetProgramsFolderFromIdList("F:");
    EXPECT_EQ(GetDriveRoot(shell), "F:\\");
    shell.SetProgramsFolderFromIdList("G:\\Menu\\Programs");
    EXPECT_EQ(GetDriveRoot(shell), "G:\\");
    // A Start menu redirected to a share names no drive: the Windows
    // folder's drive stands for it, and "[drive]" paths name that drive.
    shell.SetProgramsFolderFromIdList("\\\\server\\share\\Start Menu\\Programs");
    EXPECT_EQ(GetDriveRoot(shell), "C:\\");
    EXPECT_EQ(PathTokens::Resolve(shell).PathPlaces("[drive]SpyDir").front(), "C:\\SpyDir");
}

TEST(DataFiles, DataFolderLiesInTheApplicationDataFolder) {
    FakeShell shell;
    const std::string folder = DataFolder(PathTokens::Resolve(shell));
    EXPECT_EQ(folder, kUser + "\\Application Data\\DovuVedivazIVE");
    EXPECT_EQ(DataFilePath(folder, datafile::kSafety), folder + "\\Safety.dat");
    EXPECT_EQ(QuarantineLogPath(folder), folder + "\\quarantine\\QuarantineLog.txt");
}

}  // namespace
}  // namespace bastion
