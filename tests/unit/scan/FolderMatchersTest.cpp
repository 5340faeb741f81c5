#include "scan/files/FolderMatchers.h"

#include <gtest/gtest.h>

#include "support/ScanHarness.h"

namespace bastion {
namespace {

using testing::ScanHarness;
using Rows = std::vector<std::string>;

struct FolderMatchersTest : ::testing::Test {
    FolderMatchersTest() { harness.tables.Create(); }

    void File(std::string name, std::string folder, std::string threat, std::string type = "") {
        harness.tables.Files().Add({std::move(name), std::move(folder), std::move(type), std::move(threat)});
    }
    void Directory(std::string folder, std::string threat, std::string type = "") {
        harness.tables.Directories().Add({"label", std::move(folder), std::move(type), std::move(threat)});
    }
    // The threat of the detection the walked file gives, or "" for none.
    std::string FileThreat(std::string_view path) {
        harness.BeginScan();
        MatchFoundFile(context, path);
        return FirstEntry();
    }
    std::string FirstEntry() const {
        const std::vector<ActivityEntry>& activity = harness.state.Results().activity;
        return activity.empty() ? "" : activity.front().name;
    }
    Rows Activity() const { return harness.Activity(); }

    ScanHarness harness;
    ScanContext context = harness.Context();
};

TEST_F(FolderMatchersTest, AShortNameMatchesWhenEnoughOfTheFolderAgrees) {
    File("x.dll", "c:\\windows\\", "In Windows");
    File("x.dll", "c:\\program files\\spyco\\", "SpyCo X", "Adware");
    MatchFoundFile(context, "C:\\Program Files\\SpyCo\\X.DLL");

    // Reported as the walk met it, in its own case.
    const std::string found = "C:\\Program Files\\SpyCo\\X.DLL";
    EXPECT_EQ(Activity(), Rows{"SpyCo X|" + found + "#File"});
    EXPECT_EQ(harness.Detections(), Rows{"File: SpyCo X|" + found + "|Adware"});
    EXPECT_EQ(std::get<FileItem>(harness.state.Results().detections[0].item).path, found);
    EXPECT_EQ(harness.state.counters.traces, 1);
    EXPECT_EQ(harness.state.counters.itemsFound, 1);

    // Elsewhere with only the last folder name in common: no match.
    EXPECT_EQ(FileThreat("D:\\Other\\SpyCo\\x.dll"), "");
    // The same trailing names on another drive agree.
    EXPECT_EQ(FileThreat("D:\\Program Files\\SpyCo\\x.dll"), "SpyCo X");
}

TEST_F(FolderMatchersTest, FilesInAFirstLevelFolderNeverMatchByFolderAndRootFilesMatchRootDefinitions) {
    File("x.dll", "c:\\spyco\\", "First Level");
    EXPECT_EQ(FileThreat("C:\\SpyCo\\x.dll"), "");

    File("root.exe", "[drive]\\", "Any Root");
    File("deep.exe", "c:\\program files\\spyco\\", "Deep");
    EXPECT_EQ(FileThreat("E:\\root.exe"), "Any Root");
    EXPECT_EQ(FileThreat("E:\\deep.exe"), "");
}

TEST_F(FolderMatchersTest, AFileAndItsDefinitionInTheSystemFolderOfAnyDriveAgree) {
    File("spy.dll", "[drive]\\windows\\system32\\", "System Spy");
    EXPECT_EQ(FileThreat("C:\\WINDOWS\\system32\\spy.dll"), "System Spy");
    EXPECT_EQ(FileThreat("D:\\Windows\\System32\\spy.dll"), "System Spy");
}

TEST_F(FolderMatchersTest, AFileMoreThanThreeFoldersDeepMatchesAtThePlaceItsDefinitionNames) {
    File("x.dll", "c:\\program files\\spyco\\bin\\plugins\\", "Deep SpyCo");
    EXPECT_EQ(FileThreat("C:\\Program Files\\SpyCo\\bin\\plugins\\x.dll"), "Deep SpyCo");
    EXPECT_EQ(FileThreat("C:\\Users\\Me\\SpyCo\\bin\\plugins\\x.dll"), "Deep SpyCo");
    EXPECT_EQ(FileThreat("C:\\Users\\Me\\Games\\Other\\plugins\\x.dll"), "");
}

TEST_F(FolderMatchersTest, LongExecutableNamesMatchAnywhereButInSystemFoldersTheirDefinitionDoesNotName) {
    File("longspywarename.exe", "c:\\program files\\spyco\\", "Long Spy");
    EXPECT_EQ(FileThreat("C:\\longspywarename.exe"), "Long Spy");
    EXPECT_EQ(FileThreat("C:\\Temp\\a\\b\\c\\d\\LongSpywareName.exe"), "Long Spy");
    EXPECT_EQ(FileThreat("C:\\WINDOWS\\system32\\longspywarename.exe"), "");
    EXPECT_EQ(FileThreat("C:\\WINDOWS\\longspywarename.exe"), "");
    // A 16-character name is not long.
    File("sixteenchars.exe", "c:\\program files\\spyco\\", "Sixteen");
    EXPECT_EQ(FileThreat("C:\\Temp\\a\\sixteenchars.exe"), "");

    // The next row that names the system folder reports it.
    File("longspywarename.exe", "c:\\windows\\system32\\", "Long Spy In System");
    EXPECT_EQ(FileThreat("C:\\WINDOWS\\system32\\longspywarename.exe"), "Long Spy In System");
}

TEST_F(FolderMatchersTest, AFileInTheSystemFolderNeedsADefinitionNamingIt) {
    // Agrees by two folder names and names every kind of system folder, but
    // not the system folder itself.
    File("x.dll", "c:\\oldwindows\\system32\\drivers\\", "Outside");
    File("x.dll", "c:\\windows\\system32\\drivers\\", "Inside");
    EXPECT_EQ(FileThreat("C:\\WINDOWS\\system32\\drivers\\x.dll"), "Inside");
    // The kind of folder is told by folder names, not by the file's own.
    File("windowsupdater.exe", "c:\\program files\\fakeco\\", "FakeCo");
    File("systemtray.dll", "c:\\program files\\fakeco\\", "FakeCo Tray");
    EXPECT_EQ(FileThreat("C:\\Program Files\\FakeCo\\windowsupdater.exe"), "FakeCo");
    EXPECT_EQ(FileThreat("C:\\Program Files\\FakeCo\\SystemTray.dll"), "FakeCo Tray");
}

TEST_F(FolderMatchersTest, ProtectedExcludedAndMicrosoftFilesAreNotReported) {
    File("x.dll", "c:\\program files\\spyco\\", "SpyCo X");
    harness.safety.Assign({"C:\\Program Files\\SpyCo\\x.dll"});
    EXPECT_EQ(FileThreat("C:\\Program Files\\SpyCo\\x.dll"), "");
    EXPECT_TRUE(Activity().empty());

    harness.safety.Assign({});
    harness.exclusions.Assign({"C:\\Program Files\\SpyCo\\X.dll"});
    MatchFoundFile(context, "C:\\Program Files\\SpyCo\\x.dll");
    EXPECT_EQ(Activity(), Rows{"EXCLUDED|C:\\Program Files\\SpyCo\\x.dll#Excluded"});
    EXPECT_EQ(harness.state.counters.itemsFound, 0);
    EXPECT_TRUE(harness.state.Results().detections.empty());
    EXPECT_EQ(harness.state.counters.traces, 0);

    harness.exclusions.Assign({});
    harness.machine.files.AddFile("C:\\Program Files\\SpyCo\\x.dll", testing::ProgramWithCompany("microsoft CORPORATION"));
    EXPECT_EQ(FileThreat("C:\\Program Files\\SpyCo\\x.dll"), "");
}

TEST_F(FolderMatchersTest, DriveIsTheWalkedItemsDriveRootWrittenWithOrWithoutABackslashAfterIt) {
    // As stored by the loader: lower case, a file folder with its trailing
    // backslash, a directory folder without.
    Directory("[drive]accspydir", "Without Backslash");
    Directory("[drive]\\spydir\\sub", "With Backslash");
    File("x.dll", "[drive]spyco\\bin\\", "Drive Folder");
    struct Case {
        const char* folder;
        const char* threat;
    };
    for (const Case& c : {Case{"C:\\AccSpyDir\\", "Without Backslash"}, Case{"E:\\accspydir\\", "Without Backslash"},
                          Case{"\\\\server\\share\\AccSpyDir\\", "Without Backslash"},
                          Case{"D:\\SpyDir\\Sub\\", "With Backslash"}, Case{"C:\\Other\\AccSpyDir\\", ""}}) {
        harness.BeginScan();
        MatchFoundDirectory(context, c.folder);
        EXPECT_EQ(FirstEntry(), std::string(c.threat)) << c.folder;
    }
    EXPECT_EQ(FileThreat("D:\\SpyCo\\Bin\\x.dll"), "Drive Folder");
    // A name is no path: "[drive]" in one names no walked file.
    File("[drive]y.dll", "c:\\program files\\spyco\\", "Drive Named");
    EXPECT_EQ(FileThreat("D:\\Program Files\\SpyCo\\d:y.dll"), "");
    EXPECT_EQ(FileThreat("D:\\Program Files\\SpyCo\\y.dll"), "");
}

TEST_F(FolderMatchersTest, FoldersMatchTheirDefinitionWithTheirOwnRows) {
    Directory("c:\\program files\\spyco", "SpyCo", "Adware");
    Directory("[drive]\\spydir\\deep\\er\\still", "Deep Dir");
    MatchFoundDirectory(context, "C:\\Program Files\\SpyCo\\");

    const std::string folder = "C:\\Program Files\\SpyCo";
    // Logged as its threat with the file icon, found as a directory.
    EXPECT_EQ(Activity(), Rows{"SpyCo|" + folder + "#File"});
    EXPECT_EQ(harness.Detections(), Rows{"Folder: SpyCo Directory|" + folder + "|Adware"});
    EXPECT_EQ(harness.state.counters.itemsFound, 1);

    harness.BeginScan();
    MatchFoundDirectory(context, "E:\\SpyDir\\Deep\\er\\Still\\");
    EXPECT_EQ(Activity(), Rows{"Deep Dir|E:\\SpyDir\\Deep\\er\\Still#File"});

    harness.BeginScan();
    MatchFoundDirectory(context, "C:\\Program Files\\");
    MatchFoundDirectory(context, "C:\\Program Files\\SpyCo\\Sub\\");
    EXPECT_TRUE(Activity().empty());

    harness.exclusions.Assign({"c:\\program files\\spyco"});
    MatchFoundDirectory(context, "C:\\Program Files\\SpyCo\\");
    EXPECT_EQ(Activity(), Rows{"EXCLUDED|C:\\Program Files\\SpyCo\\#Excluded"});
    EXPECT_EQ(harness.state.counters.itemsFound, 0);
}

TEST(CommonTrailingFoldersTest, CountsEqualNamesFromTheEndSkippingUnequalOnes) {
    EXPECT_EQ(CommonTrailingFolders("c:\\program files\\spyco\\", "c:\\program files\\spyco\\"), 2);
    EXPECT_EQ(CommonTrailingFolders("c:\\a\\x\\c\\", "d:\\a\\y\\c\\"), 2);
    EXPECT_EQ(CommonTrailingFolders("c:\\a\\b\\", "c:\\windows\\"), 0);
    EXPECT_EQ(CommonTrailingFolders("c:\\a\\b\\", "[drive]a\\b\\"), 1);
    EXPECT_EQ(CommonTrailingFolders("c:", "c:"), 0);
}

}  // namespace
}  // namespace bastion
