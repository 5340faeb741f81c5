// The known-location scans on Wine's real drive C: a definition under
// "[windir]" finds a file planted in the Windows folder, a file whose
// version resource names Microsoft is passed over, and a folder on the
// exclusion list shows as "EXCLUDED".
#include <gtest/gtest.h>

#include "ScanWineContext.h"
#include "common/Text.h"
#include "scan/files/CompanyName.h"
#include "scan/files/KnownLocations.h"

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

    ASSERT_EQ(state.ActivityList().Count(), 1u);
    EXPECT_EQ(state.ActivityList().Item(0).text, "Planted Spy");
    EXPECT_TRUE(EqualsIgnoreCase(state.ActivityList().SubItem(0, 1), windowsFolder + "\\" + spyName));
    EXPECT_EQ(state.ResultsList().SubItem(0, 2), "Spyware");
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

    ASSERT_EQ(state.ActivityList().Count(), 1u);
    EXPECT_EQ(state.ActivityList().Item(0).text, "EXCLUDED");
    EXPECT_EQ(state.ActivityList().Item(0).smallIcon, ui::kIconExcluded);
    EXPECT_EQ(state.counters.itemsFound, 0);
}

}  // namespace
}  // namespace bastion::win32
