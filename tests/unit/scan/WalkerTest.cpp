#include "scan/walk/Walker.h"

#include <gtest/gtest.h>

#include "support/ScanHarness.h"

namespace bastion {
namespace {

using platform::kAttrDirectory;
using platform::kAttrHidden;
using platform::kAttrReadOnly;
using platform::kAttrSystem;
using testing::ScanHarness;
using Texts = std::vector<std::string>;

struct WalkerTest : ::testing::Test {
    WalkerTest() { harness.tables.Create(); }

    // Executable names longer than 16 characters match in any folder, so
    // each walked file can be told by its own threat name.
    void AnywhereFile(const std::string& name) { harness.tables.Files().Add({name, "c:\\x\\", "", name}); }
    void DirectoryAt(const std::string& folder, const std::string& threat) {
        harness.tables.Directories().Add({"label", folder, "", threat});
    }
    // The threat names in the activity list, in the order found.
    Texts Found() const {
        Texts texts;
        for (const ui::ListItem& row : harness.state.ActivityList().Rows()) texts.push_back(row.text);
        return texts;
    }

    ScanHarness harness;
    ScanContext context = harness.Context();
    testing::FakeFileSystem& files = harness.machine.files;
};

TEST_F(WalkerTest, FolderScanMatchesTheFolderThenItsEntriesThenEverySubfolderWhateverItsAttributes) {
    files.AddFile("C:\\Top\\firstspywarefile.exe");
    files.AddFolder("C:\\Top\\Sub1");
    files.AddFile("C:\\Top\\Sub1\\insidesub1spyware.exe");
    // Read-only, hidden and system folders (Documents, AppData,
    // ProgramData) are folders like any other.
    files.AddFolder("C:\\Top\\readonlyspywarefolder.exe", kAttrDirectory | kAttrReadOnly);
    files.AddFile("C:\\Top\\readonlyspywarefolder.exe\\behindreadonlyspyware.exe");
    files.AddFolder("C:\\Top\\Hidden", kAttrDirectory | kAttrHidden | kAttrSystem);
    files.AddFile("C:\\Top\\Hidden\\behindhiddenspyware.exe");
    files.AddFile("C:\\Top\\hiddenspywarefile.exe", "", kAttrHidden);
    files.AddFile("C:\\Top\\sysattrspywarefile.exe", "", kAttrSystem | kAttrReadOnly);
    files.AddFolder("C:\\Top\\Sub2");
    files.AddFile("C:\\Top\\Sub2\\insidesub2spyware.exe");
    files.AddFile("C:\\Top\\lastspywarefilehere.exe");
    // A junction is neither matched nor entered: what it leads to is walked
    // where it lies.
    files.AddFile("C:\\Elsewhere\\elsewherespywarefile.exe");
    files.AddJunction("C:\\Top\\junctionspywarename.exe", "C:\\Elsewhere");
    for (const char* name : {"firstspywarefile.exe", "insidesub1spyware.exe", "readonlyspywarefolder.exe",
                             "behindreadonlyspyware.exe", "behindhiddenspyware.exe", "hiddenspywarefile.exe",
                             "sysattrspywarefile.exe", "insidesub2spyware.exe", "lastspywarefilehere.exe",
                             "elsewherespywarefile.exe", "junctionspywarename.exe"}) {
        AnywhereFile(name);
    }
    DirectoryAt("c:\\top", "Top Dir");
    DirectoryAt("c:\\top\\sub2", "Sub2 Dir");
    DirectoryAt("c:\\top\\hidden", "Hidden Dir");

    ScanFolder(context, "C:\\Top\\");

    EXPECT_EQ(Found(), (Texts{"Top Dir", "firstspywarefile.exe", "Hidden Dir", "hiddenspywarefile.exe",
                              "sysattrspywarefile.exe", "Sub2 Dir", "lastspywarefilehere.exe",
                              "insidesub1spyware.exe", "behindreadonlyspyware.exe", "behindhiddenspyware.exe",
                              "insidesub2spyware.exe"}));
    EXPECT_EQ(ScanHarness::Rows(harness.state.FileQueue())[8],
              "C:\\Top\\readonlyspywarefolder.exe\\behindreadonlyspyware.exe|behindreadonlyspyware.exe#0/0");
    // The folder, its eight entries besides the junction and one entry in
    // each of the four subfolders.
    EXPECT_EQ(harness.state.counters.filesInspected, 13);
    // The last folder's refresh shows the final count, whatever the throttle.
    EXPECT_EQ(harness.form.lblFilesFolderInspected.Caption(), "13");
    EXPECT_EQ(harness.pump.PumpCount(), 13);
    EXPECT_TRUE(harness.form.lblStatus.Visible());
    EXPECT_EQ(harness.form.pbgMain.Max(), 100);
    EXPECT_EQ(harness.form.pbgMain.Value(), 100);
}

TEST_F(WalkerTest, EachFolderIsListedOnce) {
    for (const char* folder : {"C:\\T\\a\\b\\c", "C:\\T\\a\\d", "C:\\T\\e"}) {
        files.AddFolder(folder);
        files.AddFile(std::string(folder) + "\\f.txt");
    }
    files.ResetCounters();
    ScanFolder(context, "C:\\T\\");
    EXPECT_EQ(files.ListDirectoryCalls(), 6u);  // T, a, b, c, d, e
    // T itself, five folders and three files.
    EXPECT_EQ(harness.state.counters.filesInspected, 1 + 5 + 3);
}

TEST_F(WalkerTest, StopEndsTheWalkAtEveryLevelWithoutMatchingAnotherEntry) {
    // Each level: two files, the next level, then a sibling folder that
    // would be walked after it.
    std::string level = "C:\\Deep";
    for (int depth = 0; depth < 5; ++depth) {
        files.AddFile(level + "\\one.txt");
        files.AddFile(level + "\\two.txt");
        files.AddFolder(level + "\\next");
        files.AddFolder(level + "\\sibling");
        files.AddFile(level + "\\sibling\\never.txt");
        level += "\\next";
    }
    // Entries 1-4 at the top, 5-8 one level down, stop after the 10th.
    harness.pump.At(10, [&] { harness.state.RequestStop(); });
    files.ResetCounters();
    ScanFolder(context, "C:\\Deep\\");

    EXPECT_EQ(harness.state.counters.filesInspected, 1 + 10);
    EXPECT_EQ(harness.pump.PumpCount(), 10);
    EXPECT_EQ(files.ListDirectoryCalls(), 3u);
    EXPECT_EQ(harness.form.lblFilesFolderInspected.Caption(), "11");
}

TEST_F(WalkerTest, StopBeforeTheWalkExaminesNothingBelowTheFolder) {
    files.AddFile("C:\\Top\\a.txt");
    harness.state.RequestStop();
    ScanFolder(context, "C:\\Top\\");
    EXPECT_EQ(harness.state.counters.filesInspected, 1);
    EXPECT_EQ(harness.pump.PumpCount(), 0);
}

TEST_F(WalkerTest, AFolderReachedAgainThroughJunctionsIsNotEnteredAgain) {
    files.AddFile("C:\\Loop\\loopspywarefilename.exe");
    files.AddFolder("C:\\Loop\\Inner");
    // Plain folder attributes, so the walker would descend.
    files.AddJunction("C:\\Loop\\Inner\\Back", "C:\\Loop", kAttrDirectory);
    files.AddFile("C:\\Shared\\sharedspywarefile.exe");
    files.AddJunction("C:\\Loop\\ViaA", "C:\\Shared", kAttrDirectory);
    files.AddJunction("C:\\Loop\\Inner\\ViaB", "C:\\Shared", kAttrDirectory);
    // As real junctions are listed: not followed at all.
    files.AddJunction("C:\\Loop\\Reparse", "C:\\Shared");
    AnywhereFile("loopspywarefilename.exe");
    AnywhereFile("sharedspywarefile.exe");

    files.ResetCounters();
    ScanFolder(context, "C:\\Loop\\");

    EXPECT_EQ(Found(), (Texts{"loopspywarefilename.exe", "sharedspywarefile.exe"}));
    EXPECT_EQ(ScanHarness::Rows(harness.state.FileQueue())[1],
              "C:\\Loop\\Inner\\ViaB\\sharedspywarefile.exe|sharedspywarefile.exe#0/0");
    // Loop, Inner, Back, ViaB and ViaA listed; Back and ViaA not walked.
    EXPECT_EQ(files.ListDirectoryCalls(), 5u);
}

// Some network shares report 0 as every folder's index: the walk tells
// their folders apart by path, on a lettered drive and on a share alike.
TEST_F(WalkerTest, FoldersOfAFileSystemWithoutFolderIndexesAreAllWalked) {
    for (const char* root : {"N:", "\\\\nas\\public"}) {
        testing::FakeDrive share;
        share.letter = root;
        share.type = platform::DriveType::Network;
        share.folderIndexKnown = false;
        files.AddDrive(share);
        const std::string top = std::string(root) + "\\Top";
        files.AddFile(top + "\\a\\b\\deepspywarefilename.exe");
        files.AddFile(top + "\\c\\siblingspywarefile.exe");
    }
    AnywhereFile("deepspywarefilename.exe");
    AnywhereFile("siblingspywarefile.exe");

    ScanFolder(context, "N:\\Top\\");
    ScanFolder(context, "\\\\nas\\public\\Top\\");

    EXPECT_EQ(Found(), (Texts{"deepspywarefilename.exe", "siblingspywarefile.exe", "deepspywarefilename.exe",
                              "siblingspywarefile.exe"}));
}

TEST_F(WalkerTest, DriveWalkMovesTheMainBarByBytesAndNeverPastItsMaximum) {
    testing::FakeDrive drive;
    drive.letter = "D";
    drive.total = 2000;
    drive.free = 1500;
    files.AddDrive(drive);
    files.AddFile("D:\\a.bin", std::string(100, 'a'));
    files.AddFolder("D:\\Folder");
    files.AddFile("D:\\Folder\\b.bin", std::string(300, 'b'));
    files.AddFile("D:\\Folder\\c.bin", std::string(1000, 'c'));
    files.AddFile("D:\\Folder\\d.bin", std::string(10, 'd'));
    harness.form.pbgMain.SetValue(70);
    std::vector<double> values;
    harness.pump.Always([&] { values.push_back(harness.form.pbgMain.Value()); });

    ScanDrive(context, "D:\\");

    EXPECT_EQ(harness.form.pbgMain.Max(), 500);
    EXPECT_EQ(values, (std::vector<double>{100, 100, 400, 500, 500}));
    EXPECT_EQ(harness.form.pbgMain.Value(), 500);
    EXPECT_EQ(harness.state.counters.filesInspected, 5);
}

TEST_F(WalkerTest, DriveWithoutAMediumIsSkippedSilently) {
    files.AddDrive("E", platform::DriveType::CdRom, false);
    harness.form.lblStatus.SetVisible(false);
    files.ResetCounters();
    ScanDrive(context, "E:\\");
    EXPECT_EQ(files.ListDirectoryCalls(), 0u);
    EXPECT_FALSE(harness.form.lblStatus.Visible());
    EXPECT_EQ(harness.state.counters.filesInspected, 0);
    EXPECT_TRUE(harness.state.ActivityList().Empty());
}

TEST_F(WalkerTest, FileScanMatchesTheOneFileAndShowsItAtOnce) {
    files.AddFile("C:\\Downloads\\singlespywarefile.exe");
    AnywhereFile("singlespywarefile.exe");
    ScanFile(context, "C:\\Downloads\\singlespywarefile.exe");
    EXPECT_EQ(Found(), Texts{"singlespywarefile.exe"});
    EXPECT_EQ(harness.state.counters.filesInspected, 1);
    EXPECT_EQ(harness.form.lblStatus.Caption(), "Scanning: C:\\Downloads\\singlespywarefile.exe");
    EXPECT_EQ(harness.form.lblFilesFolderInspected.Caption(), "1");
    EXPECT_EQ(harness.form.pbgMain.Max(), 1);
    EXPECT_EQ(harness.form.pbgMain.Value(), 1);
}

TEST_F(WalkerTest, DriveListOffersRemovableNetworkAndOpticalDrivesAndOnlyReadyFixedOnes) {
    files.AddDrive("A", platform::DriveType::Removable, false);
    files.AddDrive("D", platform::DriveType::Fixed, false);
    files.AddDrive("E", platform::DriveType::CdRom, false);
    files.AddDrive("F", platform::DriveType::Network, true);
    files.AddDrive("G", platform::DriveType::RamDisk, true);
    files.AddDrive("H", platform::DriveType::Unknown, true);
    files.AddDrive("I", platform::DriveType::NoRootDir, true);
    ui::ListView& drives = harness.form.lvwHardDrives;

    FillDriveList(files, drives);
    FillDriveList(files, drives);

    Texts letters;
    for (const ui::ListItem& row : drives.Rows()) letters.push_back(row.text);
    EXPECT_EQ(letters, (Texts{"A", "C", "E", "F"}));
}

TEST_F(WalkerTest, DriveTicksAreStoredForEveryRowAndRestoredTickedByDefault) {
    services::SettingsStore settings(harness.machine.registry, "Testwall");
    ui::ListView& drives = harness.form.lvwHardDrives;
    for (const char* letter : {"A", "C", "E"}) drives.Add(letter);

    RestoreDriveTicks(drives, settings);
    EXPECT_TRUE(drives.Item(0).checked && drives.Item(1).checked && drives.Item(2).checked);

    drives.SetChecked(1, false);
    StoreDriveTicks(drives, settings);
    EXPECT_EQ(settings.ReadSetting("Drives", "A", ""), "True");
    EXPECT_EQ(settings.ReadSetting("Drives", "C", ""), "False");
    EXPECT_EQ(settings.ReadSetting("Drives", "E", ""), "True");

    ui::FrmMain later;
    for (const char* letter : {"A", "C", "E", "F"}) later.lvwHardDrives.Add(letter);
    RestoreDriveTicks(later.lvwHardDrives, settings);
    std::vector<bool> ticks;
    for (const ui::ListItem& row : later.lvwHardDrives.Rows()) ticks.push_back(row.checked);
    EXPECT_EQ(ticks, (std::vector<bool>{true, false, true, true}));
}

}  // namespace
}  // namespace bastion
