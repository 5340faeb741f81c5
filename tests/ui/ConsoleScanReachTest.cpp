// bastion-scan under Wine finds what a definition names wherever it lies on
// the real machine, whichever scan looks, and passes nothing it did not
// check: "[drive]" folders, the system folder's 32-bit twin, executables
// named like system folders, exclusions outside the code page, wildcards and
// short names.
#include <gtest/gtest.h>

#include "DataFolderFixture.h"
#include "common/Text.h"

namespace bastion::uitest {
namespace {

constexpr const wchar_t* kSmartScan = L"smart --no-processes --no-cookies --no-registry --no-report";

class ConsoleScanReachTest : public DataFolderFixture {
protected:
    ConsoleScanReachTest() : DataFolderFixture("reach") {}
    ~ConsoleScanReachTest() override {
        for (const std::string& file : plantedFiles_) files.DeleteFile(file);
        for (const std::string& folder : plantedFolders_) files.DeleteFolderTree(folder);
    }

    // A file outside the data folder, taken away after the test.
    void Plant(const std::string& path) {
        ASSERT_TRUE(files.WriteFile(path, "MZ not much of a program")) << path;
        plantedFiles_.push_back(path);
    }
    void PlantFolder(const std::string& folder) {
        ASSERT_TRUE(files.CreateFolder(folder)) << folder;
        plantedFolders_.push_back(folder);
    }

    // What the scanner wrote, lower-cased (locations come lower-cased from
    // the walk, as written from the known locations); its exit status.
    std::string Scan(const std::wstring& arguments, DWORD& exitCode) {
        return ToLower(RunScanner(arguments, exitCode));
    }
    static std::wstring Quoted(const std::string& path) { return L"\"" + win32::Widen(path) + L"\""; }

    // The Smart Scan, and then the File or Folder Scan of the path, each
    // report the detection line that holds found.
    void ExpectFoundByTheSmartScanAnd(const wchar_t* kind, const std::string& path, const std::string& found) {
        for (const std::wstring& arguments : {std::wstring(kSmartScan),
                                              kind + Quoted(path) + L" --no-processes --no-registry --no-report"}) {
            DWORD exitCode = 0;
            const std::string output = Scan(arguments, exitCode);
            EXPECT_EQ(exitCode, 1u) << win32::Narrow(arguments) << "\n" << output;
            EXPECT_NE(output.find(found), std::string::npos) << win32::Narrow(arguments) << "\n" << output;
        }
    }

    const std::string unique = std::to_string(GetCurrentProcessId());

private:
    std::vector<std::string> plantedFiles_;
    std::vector<std::string> plantedFolders_;
};

TEST_F(ConsoleScanReachTest, ADriveFolderDefinitionIsFoundByTheSmartScanAndByAFolderScan) {
    const std::string folder = "C:\\AccSpyDir" + unique;
    PlantFolder(folder);
    WriteDefinitions("DirectoryDefinition.dat", {"Spy Dir=Spy|[drive]AccSpyDir" + unique + "|Adware"});
    // "Spy" at its known location, "Spy Directory" from the walk.
    ExpectFoundByTheSmartScanAnd(L"folder ", folder, "\t" + ToLower(folder) + "\tadware");
}

// Folders listed by four threads or by the walk's own alone: the same
// detections in the same order, the same counters.
TEST_F(ConsoleScanReachTest, AFolderScanReportsTheSameWithFourListingThreadsAsWithOne) {
    std::vector<std::string> lines;
    for (int a = 0; a < 6; ++a) {
        const std::string outer = scratch + "\\a" + std::to_string(a);
        ASSERT_TRUE(files.CreateFolder(outer));
        for (int b = 0; b < 6; ++b) {
            const std::string folder = outer + "\\b" + std::to_string(b);
            const std::string name = "threadsspywarefile" + std::to_string(a * 6 + b) + ".exe";
            ASSERT_TRUE(files.CreateFolder(folder));
            ASSERT_TRUE(files.WriteFile(folder + "\\" + name, "MZ"));
            lines.push_back(name + "=Spy " + std::to_string(a * 6 + b) + "|c:\\elsewhere|Adware");
        }
    }
    WriteDefinitions("FileDefinition.dat", lines);
    const std::wstring folderScan = L"folder " + Quoted(scratch) + L" --no-processes --no-registry --no-report";
    DWORD oneExit = 0, fourExit = 0;
    const std::string one = Scan(folderScan + L" --threads 1", oneExit);
    const std::string four = Scan(folderScan + L" --threads 4", fourExit);
    EXPECT_EQ(oneExit, 1u) << one;
    EXPECT_EQ(fourExit, 1u) << four;
    EXPECT_NE(one.find("spy 35\t"), std::string::npos) << one;
    EXPECT_EQ(four, one);
}

// The first scan saves the tables' image and the next reads it (and so
// leaves it as it was); a definition rewritten since, to the same size, is
// what the scan after reports, and its image is saved anew.
TEST_F(ConsoleScanReachTest, AScanAfterTheDefinitionsChangedReadsThemAndNotTheSavedImage) {
    ASSERT_TRUE(files.WriteFile(scratch + "\\imagedspyware.exe", "MZ"));
    WriteDefinitions("FileDefinition.dat", {"imagedspyware.exe=Imaged A|c:\\elsewhere|Adware"});
    const std::wstring folderScan = L"folder " + Quoted(scratch) + L" --no-processes --no-registry --no-report";
    const std::string image = dataFolder + "\\DefinitionTables.bin";
    std::vector<platform::FileStamp> stamps;
    for (const char* threat : {"imaged a\t", "imaged a\t", "imaged b\t"}) {
        if (std::string_view(threat) == "imaged b\t") {
            WriteDefinitions("FileDefinition.dat", {"imagedspyware.exe=Imaged B|c:\\elsewhere|Adware"});
        }
        DWORD exitCode = 0;
        const std::string output = Scan(folderScan, exitCode);
        EXPECT_NE(output.find(threat), std::string::npos) << threat << "\n" << output;
        const std::optional<platform::FileStamp> stamp = files.Stamp(image);
        ASSERT_TRUE(stamp) << threat;
        stamps.push_back(*stamp);
    }
    EXPECT_EQ(stamps[1], stamps[0]);
    EXPECT_NE(stamps[2], stamps[1]);
}

TEST_F(ConsoleScanReachTest, ASystemFolderDefinitionFindsItsFileInSysWOW64) {
    const std::string twin = PathTokens::Resolve(shell).Expand("[windir]") + "syswow64";
    if (!files.FolderExists(twin)) GTEST_SKIP() << "a 32-bit Windows: no " << twin;
    const std::string name = "bastionspy" + unique + ".dll";
    const std::string path = twin + "\\" + name;
    Plant(path);
    WriteDefinitions("FileDefinition.dat", {name + "=System Spy|[windir]system32|Trojan"});
    ExpectFoundByTheSmartScanAnd(L"file ", path, "system spy\t" + ToLower(path) + "\ttrojan");
}

TEST_F(ConsoleScanReachTest, AnExecutableNamedLikeASystemFolderIsFoundInTheFolderItsDefinitionNames) {
    const std::string folder = PathTokens::Resolve(shell).Expand("[progfil]") + "FakeCo" + unique;
    PlantFolder(folder);
    Plant(folder + "\\windowsupdater.exe");
    WriteDefinitions("FileDefinition.dat", {"windowsupdater.exe=FakeCo Updater|[progfil]FakeCo" + unique + "|Adware"});
    ExpectFoundByTheSmartScanAnd(L"folder ", folder,
                                 "fakeco updater\t" + ToLower(folder) + "\\windowsupdater.exe\tadware");
}

// A path under a user folder in another script than the code page's: the
// exclusion holds for that file and for no other of the same name. (Each form
// the exclusion file may be in is read by ExclusionFileTest.)
TEST_F(ConsoleScanReachTest, AnExcludedFileInAnotherScriptStaysExcludedAndItsNamesakeIsFound) {
    WriteDefinitions("FileDefinition.dat", {"excludedspywarefile.exe=Excluded Spy||Adware"});
    const std::string cyrillic = scratch + "\\\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9";
    const std::string latin = scratch + "\\Caf\xC3\xA9";
    for (const std::string& folder : {cyrillic, latin}) {
        ASSERT_TRUE(files.CreateFolder(folder));
        ASSERT_TRUE(files.WriteFile(folder + "\\excludedspywarefile.exe", "MZ"));
    }
    ASSERT_TRUE(files.WriteFile(DataFilePath(dataFolder, "ENoSignature.dat"),
                                cyrillic + "\\excludedspywarefile.exe\r\n"));

    DWORD exitCode = 0;
    const std::string output = Scan(L"folder " + Quoted(scratch) + L" --no-processes --no-registry --no-report",
                                    exitCode);
    EXPECT_EQ(exitCode, 1u) << output;
    EXPECT_EQ(output.find("excluded spy\t" + ToLower(cyrillic)), std::string::npos) << output;
    EXPECT_NE(output.find("excluded spy\t" + ToLower(latin) + "\\excludedspywarefile.exe"), std::string::npos)
        << output;
}

TEST_F(ConsoleScanReachTest, WildcardsAreRefusedAndShortNamesMatchAsTheirLongOnes) {
    DWORD exitCode = 0;
    for (const wchar_t* arguments : {L"file C:\\windows\\*.exe", L"folder C:\\win??ws"}) {
        const std::string output = Scan(arguments, exitCode);
        EXPECT_EQ(exitCode, 2u) << output;
        EXPECT_NE(output.find("wildcards are not accepted"), std::string::npos) << output;
        EXPECT_EQ(output.find("scanning complete."), std::string::npos) << output;
    }

    const std::string folder = PathTokens::Resolve(shell).Expand("[progfil]") + "SpyCoLongName" + unique;
    PlantFolder(folder);
    Plant(folder + "\\x.dll");
    WriteDefinitions("FileDefinition.dat", {"x.dll=Short Named Spy|[progfil]SpyCoLongName" + unique});
    const std::wstring longPath = win32::Widen(folder + "\\x.dll");
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(longPath.c_str(), shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || longPath == shortPath) {
        GTEST_SKIP() << "this file system keeps no short names";
    }
    const std::string output =
        Scan(L"file \"" + std::wstring(shortPath) + L"\" --no-processes --no-registry --no-report", exitCode);
    EXPECT_EQ(exitCode, 1u) << win32::Narrow(shortPath) << "\n" << output;
    EXPECT_NE(output.find("short named spy\t" + ToLower(folder) + "\\x.dll"), std::string::npos) << output;
}

}  // namespace
}  // namespace bastion::uitest
