#include "scan/files/KnownLocations.h"

#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "definitions/SafetyListLoader.h"
#include "platform/FileExistence.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/walk/Walker.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

using testing::ScanHarness;
using Rows = std::vector<std::string>;

struct KnownLocationsTest : ::testing::Test {
    KnownLocationsTest() {
        harness.state.SetPhase("Scanning known Spyware/Adware");
        harness.state.definitions = {10, 20, 30, 40, 100};
    }
    Rows Activity() const { return harness.Activity(); }
    Rows Results() const { return harness.Detections(); }
    // The paths removal reaches.
    Rows Items() const {
        Rows paths;
        for (const Detection& detection : harness.state.Results().detections) {
            paths.push_back(std::get<FileItem>(detection.item).path);
        }
        return paths;
    }

    ScanHarness harness;
    ScanContext context = harness.Context();
};

TEST_F(KnownLocationsTest, FindsFilesWhereTheirDefinitionSaysWithEachLinesOwnType) {
    harness.machine.files.AddFile("C:\\WINDOWS\\spyware.exe");
    harness.machine.files.AddFile("C:\\Program Files\\SpyCo\\notype.dll");
    harness.machine.files.AddFile("C:\\root.exe");
    harness.machine.files.AddFile("C:\\other.exe");
    harness.WriteDefinitions(datafile::kFileDefinitions, {
                                                             "spyware.exe=Spy Threat|[windir]|TYPE",
                                                             "missing.exe=Not There|[windir]|Adware",
                                                             "notype.dll=No Type|[progfil]SpyCo\\",
                                                             "root.exe=On The Drive|[drive]",
                                                             "other.exe=Any Case|[DRIVE]",
                                                         });
    ScanKnownFileLocations(context);

    EXPECT_EQ(Items(), (Rows{"C:\\WINDOWS\\spyware.exe", "C:\\Program Files\\SpyCo\\notype.dll", "C:\\root.exe",
                             "C:\\other.exe"}));
    EXPECT_EQ(Activity(), (Rows{"Spy Threat|C:\\WINDOWS\\spyware.exe#File",
                                "No Type|C:\\Program Files\\SpyCo\\notype.dll#File",
                                "On The Drive|C:\\root.exe#File", "Any Case|C:\\other.exe#File"}));
    EXPECT_EQ(Results(), (Rows{"File: Spy Threat|C:\\WINDOWS\\spyware.exe|Spyware",
                               "File: No Type|C:\\Program Files\\SpyCo\\notype.dll|",
                               "File: On The Drive|C:\\root.exe|", "File: Any Case|C:\\other.exe|"}));
    EXPECT_EQ(harness.state.counters.filesInspected, 5);
    EXPECT_EQ(harness.state.counters.itemsFound, 4);
    EXPECT_EQ(harness.state.counters.traces, 4);
}

TEST_F(KnownLocationsTest, MicrosoftProtectedAndExcludedFilesAreNotDetections) {
    harness.machine.files.AddFile("C:\\WINDOWS\\spyware.exe", testing::ProgramWithCompany(" MICROSOFT corporation"));
    harness.machine.files.AddFile("C:\\WINDOWS\\other.exe", testing::ProgramWithCompany("Microsoft Corp"));
    harness.machine.files.AddFile("C:\\WINDOWS\\safe.exe");
    harness.machine.files.AddFile("C:\\WINDOWS\\mine.exe");
    harness.WriteDefinitions(datafile::kFileDefinitions,
                             {"spyware.exe=Spy|[windir]", "other.exe=Other|[windir]", "safe.exe=Safe|[windir]",
                              "mine.exe=Mine|[windir]"});
    harness.safety.Assign({"c:\\windows\\safe.exe"});
    harness.exclusions.Assign({"C:\\WINDOWS\\MINE.EXE"});
    ScanKnownFileLocations(context);

    EXPECT_EQ(Activity(), (Rows{"Other|C:\\WINDOWS\\other.exe#File", "EXCLUDED|C:\\WINDOWS\\mine.exe#Excluded"}));
    EXPECT_EQ(harness.state.counters.itemsFound, 1);
}

TEST_F(KnownLocationsTest, ShowsEachLineAndStopsBeforeTheNextLineWhenAsked) {
    harness.WriteDefinitions(datafile::kFileDefinitions, {"a.exe=A|[windir]", "b.exe=B|[windir]", "c.exe=C|[windir]"});
    harness.BeginScan();
    harness.pump.At(2, [&] { harness.state.RequestStop(); });
    ScanKnownFileLocations(context);

    EXPECT_EQ(harness.state.counters.filesInspected, 2);
    EXPECT_EQ(harness.progress.lastItem, "b.exe\r\nScanning known Spyware/Adware: ");
    // 2 of 40 file lines; 10 + 20 + 30 + 2 of 100 lines.
    EXPECT_EQ(harness.progress.lastScanPercent, 5);
    EXPECT_EQ(harness.progress.lastOverallPercent, 62);
}

TEST_F(KnownLocationsTest, FindsDirectoriesWithTheirOwnRules) {
    harness.machine.files.AddFolder("C:\\Program Files\\SpyCo");
    harness.machine.files.AddFolder("C:\\Program Files\\Excluded");
    harness.machine.files.AddFolder("C:\\SpyDir");
    harness.machine.files.AddFolder("C:\\Other");
    harness.WriteDefinitions(datafile::kDirectoryDefinitions, {
                                                                  "No Folder=Skipped",
                                                                  "Empty=Skipped Too||Adware",
                                                                  "Spy\tDir=SpyCo|[progfil]SpyCo|Adware",
                                                                  "Excl=Excluded|[progfil]Excluded",
                                                                  "Gone=Gone|[progfil]Gone",
                                                                  "Other=Other Drive Spelling|[Drive]\\\\Other",
                                                                  "Typeless=No Type|[drive]SpyDir",
                                                              });
    harness.exclusions.Assign({"C:\\Program Files\\Excluded\\file.exe"});
    harness.BeginScan();
    ScanKnownDirectoryLocations(context);

    EXPECT_EQ(harness.progress.firstItem, "SpyDir\r\nScanning known Spyware/Adware: ");
    EXPECT_EQ(Items(), (Rows{"C:\\Program Files\\SpyCo", "C:\\Other", "C:\\SpyDir"}));
    EXPECT_EQ(Activity(), (Rows{"SpyCo|C:\\Program Files\\SpyCo#Folder", "EXCLUDED|C:\\Program Files\\Excluded#Excluded",
                                "Other Drive Spelling|C:\\Other#Folder", "No Type|C:\\SpyDir#Folder"}));
    EXPECT_EQ(Results(), (Rows{"Folder: SpyCo|C:\\Program Files\\SpyCo|Adware", "Folder: Other Drive Spelling|C:\\Other|",
                               "Folder: No Type|C:\\SpyDir|"}));
    EXPECT_EQ(harness.state.counters.filesInspected, 5);
}

// Documents and AppData redirected to a network share, as a domain's folder
// redirection puts them: each reader looks there, not on the current drive.
TEST_F(KnownLocationsTest, FoldersRedirectedToANetworkShareAreLookedAtWhereTheyAre) {
    testing::FakePlatform& machine = harness.machine;
    machine.files.AddDrive("\\\\server\\users", platform::DriveType::Network);
    machine.shell.SetFolder(platform::csidl::kPersonal, "\\\\server\\users\\me\\Documents");
    machine.shell.SetFolder(platform::csidl::kAppData, "\\\\Server\\Users\\me\\AppData");
    harness.tokens = PathTokens::Resolve(machine.shell);
    // The test file of the starter definitions, as docs/definitions.md tells.
    machine.files.AddFile("\\\\server\\users\\me\\Documents\\bastion-test-file.txt", "test");
    machine.files.AddFolder("\\\\server\\users\\me\\AppData\\SpyCo");
    machine.files.AddFile("\\\\server\\users\\me\\Documents\\Sub\\safe.exe");
    harness.WriteDefinitions(datafile::kFileDefinitions, {"bastion-test-file.txt=Bastion.TestFile|[personl]|Testfile",
                                                          "safe.exe=Safe|[personl]\\\\Sub"});
    harness.WriteDefinitions(datafile::kDirectoryDefinitions, {"D=SpyCo Folder|[appdata]\\SpyCo"});
    harness.safety.Assign(SafetyEntries("SFILE|s=Safe|[personl]Sub\\safe.exe", harness.tokens));

    ScanKnownFileLocations(context);
    ScanKnownDirectoryLocations(context);
    EXPECT_EQ(Items(), (Rows{"\\\\server\\users\\me\\Documents\\bastion-test-file.txt",
                             "\\\\Server\\Users\\me\\AppData\\SpyCo"}));

    // The walk, against the definitions as loaded, finds the file there too.
    harness.BeginScan();
    LoadDefinitions(context);
    ScanFolder(context, "\\\\server\\users\\me\\Documents\\");
    EXPECT_EQ(Activity(),
              Rows{"Bastion.TestFile|\\\\server\\users\\me\\Documents\\bastion-test-file.txt#File"});
}

TEST_F(KnownLocationsTest, MissingDefinitionFilesEndTheScansQuietly) {
    ScanKnownFileLocations(context);
    ScanKnownDirectoryLocations(context);
    EXPECT_EQ(harness.state.counters.filesInspected, 0);
    EXPECT_TRUE(harness.state.Results().activity.empty());
}

TEST(FileExistenceTest, FilesExistWhateverTheirAttributesAndFoldersAreNoFiles) {
    testing::FakeFileSystem files;
    files.AddFile("C:\\Dir\\Plain.exe");
    files.AddFile("C:\\Dir\\ro.exe", "", platform::kAttrReadOnly);
    files.AddFile("C:\\Dir\\hidden.exe", "", platform::kAttrHidden);
    files.AddFile("C:\\Dir\\system.exe", "", platform::kAttrSystem | platform::kAttrHidden);
    EXPECT_TRUE(FileExists(files, "C:\\dir\\PLAIN.EXE"));
    EXPECT_TRUE(FileExists(files, "C:\\Dir\\ro.exe"));
    EXPECT_TRUE(FileExists(files, "C:\\Dir\\hidden.exe"));
    EXPECT_TRUE(FileExists(files, "C:\\Dir\\system.exe"));
    EXPECT_FALSE(FileExists(files, "C:\\Dir"));
    EXPECT_FALSE(FileExists(files, "C:\\Dir\\"));
    EXPECT_FALSE(FileExists(files, "C:\\Dir\\none.exe"));
    EXPECT_TRUE(FolderExists(files, "C:\\Dir"));
}

}  // namespace
}  // namespace bastion
