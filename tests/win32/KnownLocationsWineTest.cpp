// The known-location scans on Wine's real drive C: a definition under
// "[windir]" finds a file planted in the Windows folder, a file whose
// version resource names Microsoft is passed over, and a folder on the
// exclusion list shows as "EXCLUDED".
#include <gtest/gtest.h>

#include "ScanWineContext.h"
#include "common/Text.h"
#include "scan/files/CompanyName.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/files/KnownLocations.h"
#include "scan/walk/Walker.h"
#include "platform/win32/WideText.h"

namespace bastion::win32 {
namespace {

class KnownLocationsWineTest : public ::testing::Test, public test::ScanWineContext {
protected:
    KnownLocationsWineTest() {
        windowsFolder = tokens.Expand("[windir]");
        windowsFolder.pop_back();
        spyName = test::UniqueName("bastion_spy_") + ".exe";
        microsoftName = test::UniqueName("bastion_ms_") + ".exe";
        folderName = test::UniqueName("bastion_dir_");
    }
    ~KnownLocationsWineTest() override {
        files.DeleteFile(windowsFolder + "\\" + spyName);
        files.DeleteFile(windowsFolder + "\\" + microsoftName);
        files.DeleteFolderTree(windowsFolder + "\\" + folderName);
    }

    std::string windowsFolder;
    std::string spyName;
    std::string microsoftName;
    std::string folderName;
};

TEST_F(KnownLocationsWineTest, FindsAFileInTheWindowsFolderButNotOneMicrosoftPublished) {
    ASSERT_TRUE(files.WriteFile(windowsFolder + "\\" + spyName, "MZ not much of a program"));
    ASSERT_TRUE(files.CopyFile(test::ProgramFolder() + "\\MicrosoftCompany.exe", windowsFolder + "\\" + microsoftName,
                               true));
    EXPECT_EQ(GetFileCompanyName(files, codePage, windowsFolder + "\\" + microsoftName), "Microsoft Corporation");
    WriteDefinitions(datafile::kFileDefinitions,
                     {spyName + "=Planted Spy|[windir]|TYPE", microsoftName + "=Not A Spy|[WINDIR]|Adware"});

    ScanContext context = Context();
    ScanKnownFileLocations(context);

    ASSERT_EQ(Activity().size(), 1u);
    EXPECT_EQ(Activity()[0].name, "Planted Spy");
    EXPECT_TRUE(EqualsIgnoreCase(Activity()[0].details, windowsFolder + "\\" + spyName));
    EXPECT_EQ(Detections().at(0).type.name, "Spyware");
    EXPECT_EQ(state.counters.filesInspected, 2);
    EXPECT_EQ(state.counters.itemsFound, 1);
}

TEST_F(KnownLocationsWineTest, AFolderOnTheExclusionListShowsAsExcluded) {
    const std::string folder = windowsFolder + "\\" + folderName;
    ASSERT_TRUE(files.CreateFolder(folder));
    exclusions.Assign({folder + "\\settings.ini"});
    WriteDefinitions(datafile::kDirectoryDefinitions, {"Spy Folder=Spy Folder Threat|[windir]" + folderName + "|Adware"});

    ScanContext context = Context();
    ScanKnownDirectoryLocations(context);

    ASSERT_EQ(Activity().size(), 1u);
    EXPECT_EQ(Activity()[0].name, "EXCLUDED");
    EXPECT_EQ(Activity()[0].kind, ActivityKind::Excluded);
    EXPECT_EQ(state.counters.itemsFound, 0);
}

// Threats of 32-bit programs live in the 32-bit twins of the program and
// system folders, which a 64-bit Wine prefix has as on Windows.
class ThirtyTwoBitPlacesWineTest : public ::testing::Test, public test::ScanWineContext {
protected:
    ThirtyTwoBitPlacesWineTest() {
        programFiles32 = shell.SpecialFolderPath(platform::csidl::kProgramFilesX86).value_or("");
        system32Bit = shell.SpecialFolderPath(platform::csidl::kSystemX86).value_or("");
        vendor = test::UniqueName("BastionSpyCo");
        dll = test::UniqueName("bastion_spy32_") + ".dll";
    }
    ~ThirtyTwoBitPlacesWineTest() override {
        files.DeleteFolderTree(programFiles32 + "\\" + vendor);
        files.DeleteFile(system32Bit + "\\" + dll);
        files.DeleteFile(relative);
    }

    std::string programFiles32;
    std::string system32Bit;
    std::string vendor;
    std::string dll;
    std::string relative;
};

TEST_F(ThirtyTwoBitPlacesWineTest, ProgramAndSystemFolderDefinitionsFindHiddenThreatsInThe32BitFolders) {
    ASSERT_FALSE(programFiles32.empty());
    ASSERT_FALSE(system32Bit.empty());
    const std::string agent = programFiles32 + "\\" + vendor + "\\agent.exe";
    ASSERT_TRUE(files.CreateFolder(programFiles32 + "\\" + vendor));
    ASSERT_TRUE(files.WriteFile(agent, "MZ agent"));
    ASSERT_TRUE(files.WriteFile(system32Bit + "\\" + dll, "MZ dll"));
    // Hiding a threat must not hide it from the scan.
    ASSERT_TRUE(files.SetAttributes(system32Bit + "\\" + dll, platform::kAttrHidden | platform::kAttrSystem));
    // A definition without a folder is not looked up in the current folder.
    wchar_t current[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH + 1, current);
    relative = Narrow(current) + "\\" + test::UniqueName("bastion_here_") + ".exe";
    ASSERT_TRUE(files.WriteFile(relative, "MZ here"));
    const std::string relativeName = relative.substr(relative.rfind('\\') + 1);
    WriteDefinitions(datafile::kFileDefinitions, {"agent.exe=Agent|[progfil]" + vendor + "|Adware",
                                                  dll + "=Spy DLL|[system]", relativeName + "=Here"});
    WriteDefinitions(datafile::kDirectoryDefinitions, {"SpyCo=SpyCo Folder|[progfil]" + vendor});

    ScanContext context = Context();
    ScanKnownFileLocations(context);
    ScanKnownDirectoryLocations(context);

    const std::vector<std::string> found = PathsFound();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_TRUE(EqualsIgnoreCase(found[0], agent));
    EXPECT_TRUE(EqualsIgnoreCase(found[1], system32Bit + "\\" + dll));
    EXPECT_TRUE(EqualsIgnoreCase(found[2], programFiles32 + "\\" + vendor));
    EXPECT_EQ(state.counters.itemsFound, 3);
}

TEST_F(ThirtyTwoBitPlacesWineTest, AFolderScanFindsAProgramFolderDefinitionsFileInThe32BitFolder) {
    const std::string agent = programFiles32 + "\\" + vendor + "\\Bin\\agent.exe";
    ASSERT_TRUE(files.CreateFolder(programFiles32 + "\\" + vendor + "\\Bin"));
    ASSERT_TRUE(files.WriteFile(agent, "MZ agent"));
    WriteDefinitions(datafile::kFileDefinitions, {"agent.exe=Agent|[progfil]" + vendor + "\\Bin|Adware"});

    ScanContext context = Context();
    LoadDefinitions(context);
    ScanFolder(context, programFiles32 + "\\" + vendor + "\\");

    ASSERT_EQ(PathsFound().size(), 1u);
    EXPECT_TRUE(EqualsIgnoreCase(PathsFound()[0], agent));
}

}  // namespace
}  // namespace bastion::win32
