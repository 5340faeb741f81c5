#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/SafetyList.h"
#include "definitions/SafetyListLoader.h"
#include "support/FakeFileSystem.h"
#include "support/FakeShell.h"

namespace bastion {
namespace {

SafetyList SafetyListOf(std::vector<std::string> entries) {
    SafetyList list;
    list.Assign(std::move(entries));
    return list;
}

TEST(SafetyList, AFolderEntryProtectsThatFolderOnAnyDriveInAnyCaseButNotWhatItHolds) {
    SafetyList list = SafetyListOf({"C:\\WINDOWS\\"});
    EXPECT_TRUE(list.IsProtectedPath("D:\\WINDOWS\\"));
    EXPECT_TRUE(list.IsProtectedPath("  c:\\windows  "));
    EXPECT_TRUE(list.IsProtectedPath("C:\\Windows/"));
    EXPECT_FALSE(list.IsProtectedPath("C:\\WINDOWS\\explorer.exe"));
    EXPECT_FALSE(list.IsProtectedPath("C:\\WINDOWS2"));
    EXPECT_FALSE(list.IsProtectedPath("C:\\"));
}

// The loader skips working out a file definition's folder when the name
// alone rules the safety list out: it may say "maybe" too often, never
// "no" for a place the full test protects.
TEST(SafetyList, ANameIsRuledOutOnlyWhenNoFolderCouldMakeItProtected) {
    const SafetyList list =
        SafetyListOf({"C:\\WINDOWS\\explorer.exe", "c:\\tools\\", "D:\\Data\\Sub\\\\", "notepad.exe"});
    struct Case {
        std::string folder;
        std::string name;
    };
    const std::vector<Case> protectedPlaces = {
        {"c:\\windows\\", "explorer.exe"}, {"e:\\windows\\", "explorer.exe"}, {"c:\\", "tools\\"},
        {"c:\\", "tools/"},                {"c:\\data\\", "sub\\\\"},     {"", "notepad.exe"},
        {"", "hkey_local_machine"},          {"", "c:\\windows\\explorer.exe"},
    };
    for (const Case& place : protectedPlaces) {
        ASSERT_TRUE(list.IsProtectedPath(place.folder + place.name)) << place.folder << place.name;
        EXPECT_TRUE(list.MayProtectFileName(place.name)) << place.name;
    }
    for (const char* name : {"spy.exe", "explorer.exe.bak", "sub\\evil.dll"}) {
        EXPECT_FALSE(list.MayProtectFileName(name)) << name;
    }
    EXPECT_FALSE(SafetyListOf({}).MayProtectFileName("explorer.exe"));
}

TEST(SafetyList, TrailingSeparatorsCountOnceOnEitherSide) {
    SafetyList list = SafetyListOf({"c:\\tools"});
    // The candidate keeps one of two trailing backslashes; the entry with
    // one added then equals it.
    EXPECT_TRUE(list.IsProtectedPath("C:\\Tools\\\\"));
    EXPECT_FALSE(list.IsProtectedPath("C:\\Tools\\\\\\"));

    SafetyList doubled = SafetyListOf({"c:\\tools\\\\"});
    EXPECT_TRUE(doubled.IsProtectedPath("c:\\tools"));
}

TEST(SafetyList, LettersBeyondAsciiFoldAndOnlyALetterColonBackslashIsADrive) {
    SafetyList list = SafetyListOf({" C:\\\xc3\x9c" "BER\\\xd0\x96\\ ", "c:\\data"});
    EXPECT_TRUE(list.IsProtectedPath("c:\\\xc3\xbc" "ber\\\xd0\xb6"));
    EXPECT_TRUE(list.IsProtectedPath("  Z:\\\xc3\x9c" "ber\\\xd0\x96/"));
    EXPECT_TRUE(list.IsProtectedLowerCasePath(" e:\\data\\ "));
    EXPECT_FALSE(list.IsProtectedPath("\xc3\x89:\\DATA"));
    EXPECT_FALSE(list.IsProtectedPath("d:/data"));
    EXPECT_FALSE(list.IsProtectedPath("c:\\\xc3\xbc" "ber\\\xd0\xb6\\x"));
}

TEST(SafetyList, EntriesAndCandidatesCompareAlikeWhateverTheirDrive) {
    // A Windows folder on D: protects itself, and the same folder on C:.
    SafetyList list = SafetyListOf({"D:\\Windows", "HKEY_LOCAL_MACHINE\\Software\\Run\\D:\\tool.exe"});
    EXPECT_TRUE(list.IsProtectedPath("D:\\WINDOWS\\"));
    EXPECT_TRUE(list.IsProtectedPath("c:\\windows"));
    EXPECT_TRUE(list.IsProtectedLowerCasePath("e:\\windows"));
    // A registry location holding a path is compared as written.
    EXPECT_TRUE(list.IsProtectedPath("hkey_local_machine\\software\\run\\d:\\TOOL.exe"));
    EXPECT_FALSE(list.IsProtectedPath("HKEY_LOCAL_MACHINE\\Software\\Run\\C:\\tool.exe"));
}

TEST(SafetyList, TheEmptyPathIsAlwaysProtected) {
    SafetyList empty;
    EXPECT_TRUE(empty.IsProtectedPath(""));
    EXPECT_TRUE(empty.IsProtectedPath("   "));
    EXPECT_TRUE(empty.IsProtectedPath("\\"));
    EXPECT_TRUE(empty.IsProtectedPath("/"));
    EXPECT_FALSE(empty.IsProtectedPath("C:\\WINDOWS"));
}

TEST(SafetyList, RegistryRootsAreProtectedOnlyWhileTheListHoldsAUsableEntry) {
    SafetyList any = SafetyListOf({"HKEY_CURRENT_USER\\Software\\Foo"});
    EXPECT_TRUE(any.IsProtectedPath("HKEY_LOCAL_MACHINE\\"));
    EXPECT_TRUE(any.IsProtectedPath("hkey_users"));
    EXPECT_TRUE(any.IsProtectedPath("HKEY_CLASSES_ROOT\\\\"));
    EXPECT_FALSE(any.IsProtectedPath("HKEY_DYN_DATA"));
    EXPECT_FALSE(any.IsProtectedPath("HKEY_LOCAL_MACHINE\\Software"));
    EXPECT_TRUE(any.IsProtectedPath("hkey_current_user\\software\\foo\\"));

    EXPECT_FALSE(SafetyList().IsProtectedPath("HKEY_LOCAL_MACHINE\\"));
    // Blank entries and lone separators are not usable entries.
    EXPECT_FALSE(SafetyListOf({"", "  ", "\\", "\\/"}).IsProtectedPath("HKEY_LOCAL_MACHINE\\"));
}

class SafetyListLoading : public ::testing::Test {
protected:
    void WriteSafetyFile(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) {
            bytes += EncodeDefinitionLine(Windows1252(), line) + "\r\n";
        }
        files.AddFile(DataFilePath(dataFolder, datafile::kSafety), bytes);
    }

    testing::FakeFileSystem files;
    testing::FakeShell shell;
    PathTokens tokens = PathTokens::Resolve(shell);
    std::string dataFolder = DataFolder(tokens);
    bool stop = false;
    SafetyList list;
};

TEST_F(SafetyListLoading, BuildsOneEntryPerKindAsTheLineSays) {
    WriteSafetyFile({
        "SDIR|Windows=Windows folder|[WINDIR]|",
        "SREG|Run=Run entry|2^Software\\Microsoft\\Windows\\CurrentVersion\\Run^ctfmon.exe|extra",
        "SREG|Key=Whole key|1^Software\\\\Foo\\",
        "SFILE|explorer.exe=Shell|[drive]WINDOWS\\\\explorer.exe",
        "SEXE| notepad.exe =Editor|",
        "SDLL|net.dll=Share|//server//share",
        "SDIR|Odd=Any case|[DRIVE]\\x",
        "SBAD|x.exe=Unknown kind|C:\\x.exe",
        "sdir|lower=Kinds are case-sensitive|C:\\y",
        "SREG|Bad=Unknown hive|9^Software",
    });
    ASSERT_TRUE(LoadSafetyList(files, Windows1252(), dataFolder, tokens, stop, list));
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{
                                  "C:\\WINDOWS\\",
                                  "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\ctfmon.exe",
                                  "HKEY_CURRENT_USER\\Software\\Foo\\",
                                  "C:\\WINDOWS\\explorer.exe",
                                  "notepad.exe",
                                  "/server/share",
                                  "C:\\x",
                              }));
    EXPECT_TRUE(list.IsProtectedPath("hkey_current_user\\software\\foo"));
    EXPECT_TRUE(list.IsProtectedPath("E:\\windows\\EXPLORER.EXE"));
}

TEST_F(SafetyListLoading, AProgramOrSystemFolderEntryProtectsIts32BitTwinToo) {
    shell.Use64BitWindows();
    tokens = PathTokens::Resolve(shell);
    WriteSafetyFile({"SFILE|k=Kernel|[system]kernel32.dll", "SDIR|c=Common|[progfil]Common", "SDIR|w=W|[windir]"});
    ASSERT_TRUE(LoadSafetyList(files, Windows1252(), dataFolder, tokens, stop, list));
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{
                                  "C:\\WINDOWS\\system32\\kernel32.dll",
                                  "C:\\WINDOWS\\SysWOW64\\kernel32.dll",
                                  "C:\\Program Files\\Common",
                                  "C:\\Program Files (x86)\\Common",
                                  "C:\\WINDOWS\\",
                              }));
}

TEST_F(SafetyListLoading, AMissingFileLeavesAnEmptyListWithoutRegistryRoots) {
    list.Assign({"C:\\WINDOWS"});
    ASSERT_TRUE(LoadSafetyList(files, Windows1252(), dataFolder, tokens, stop, list));
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_FALSE(list.IsProtectedPath("C:\\WINDOWS"));
    EXPECT_FALSE(list.IsProtectedPath("HKEY_LOCAL_MACHINE"));
}

}  // namespace
}  // namespace bastion
