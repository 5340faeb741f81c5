#include "definitions/DefinitionSet.h"

#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "services/messages/DefaultMessages.h"
#include "support/FakeFileSystem.h"

namespace bastion {
namespace {

struct DefinitionSetTest : ::testing::Test {
    DefinitionSetTest() { files.AddFolder(dataFolder); }

    std::string PathOf(std::string_view name) const { return DataFilePath(dataFolder, name); }
    void Add(std::string_view name, const std::string& content = "old") { files.AddFile(PathOf(name), content); }
    bool Has(std::string_view name) { return files.HasFile(PathOf(name)); }

    testing::FakeFileSystem files;
    std::string dataFolder = "C:\\Data";
};

TEST_F(DefinitionSetTest, ACompleteSetPassesUntouched) {
    for (auto name : {datafile::kFileDefinitions, datafile::kRegistryDefinitions, datafile::kExeDefinitions,
                      datafile::kBlockedCookies, datafile::kDirectoryDefinitions, datafile::kDefinitionDate}) {
        Add(name);
    }
    EXPECT_TRUE(CheckDefinitionFiles(files, dataFolder));
    EXPECT_TRUE(Has(datafile::kDefinitionDate));
}

TEST_F(DefinitionSetTest, OneMissingFileResetsTheDateAndKeepsTheFilesThatExist) {
    for (auto name : {datafile::kFileDefinitions, datafile::kRegistryDefinitions, datafile::kExeDefinitions,
                      datafile::kBlockedCookies, datafile::kDefinitionDate, datafile::kSafety,
                      datafile::kExclusions}) {
        Add(name);
    }
    // A folder of the file's name is no definition file.
    files.AddFolder(PathOf(datafile::kDirectoryDefinitions));
    EXPECT_FALSE(CheckDefinitionFiles(files, dataFolder));
    EXPECT_FALSE(Has(datafile::kDefinitionDate));
    for (auto name : {datafile::kFileDefinitions, datafile::kRegistryDefinitions, datafile::kExeDefinitions,
                      datafile::kBlockedCookies, datafile::kSafety}) {
        EXPECT_EQ(files.Content(PathOf(name)), "old") << name;
    }
    EXPECT_TRUE(Has(datafile::kExclusions));
}

TEST_F(DefinitionSetTest, PendingFilesTakeTheirLiveFilesPlaceAndTheNextUpdateReplaysEveryChange) {
    Add(datafile::kDefinitionDate, "4/1/2010\r\n");
    Add("DLExeDefinition.dat", "new exe");
    Add(datafile::kFileDefinitions, "old files");
    Add("DLFileDefinition.dat", "new files");
    InstallPendingDefinitionFiles(files, dataFolder);
    EXPECT_EQ(files.Content(PathOf(datafile::kExeDefinitions)), "new exe");
    EXPECT_EQ(files.Content(PathOf(datafile::kFileDefinitions)), "new files");
    EXPECT_FALSE(Has("DLExeDefinition.dat"));
    EXPECT_FALSE(Has("DLFileDefinition.dat"));
    EXPECT_FALSE(Has(datafile::kDefinitionDate));
}

TEST_F(DefinitionSetTest, APendingFileThatCannotBeMovedLeavesTheLiveFileAndWaits) {
    Add(datafile::kRegistryDefinitions, "live registry");
    Add("DLRegistryDefinition.dat", "new registry");
    Add("DLBlockedCookies.dat", "new cookies");
    files.FailMoves(PathOf("DLRegistryDefinition.dat"));
    InstallPendingDefinitionFiles(files, dataFolder);
    EXPECT_EQ(files.Content(PathOf(datafile::kRegistryDefinitions)), "live registry");
    EXPECT_EQ(files.Content(PathOf("DLRegistryDefinition.dat")), "new registry");
    // The other files are still installed.
    EXPECT_EQ(files.Content(PathOf(datafile::kBlockedCookies)), "new cookies");

    files.ClearFailures();
    InstallPendingDefinitionFiles(files, dataFolder);
    EXPECT_EQ(files.Content(PathOf(datafile::kRegistryDefinitions)), "new registry");
}

TEST_F(DefinitionSetTest, NoPendingFileTakesItsPlaceWhileTheOldDateStays) {
    // The date cannot go (a crash would have stopped here): nothing moves,
    // and everything is done at the next start.
    Add(datafile::kDefinitionDate, "4/1/2010\r\n");
    Add(datafile::kFileDefinitions, "old files");
    Add("DLFileDefinition.dat", "new files");
    files.FailDeletes(PathOf(datafile::kDefinitionDate));
    InstallPendingDefinitionFiles(files, dataFolder);
    EXPECT_EQ(files.Content(PathOf(datafile::kFileDefinitions)), "old files");
    EXPECT_TRUE(Has("DLFileDefinition.dat"));
    files.ClearFailures();
    InstallPendingDefinitionFiles(files, dataFolder);
    EXPECT_EQ(files.Content(PathOf(datafile::kFileDefinitions)), "new files");
    EXPECT_FALSE(Has(datafile::kDefinitionDate));
}

TEST_F(DefinitionSetTest, OnlyTheFourUpdatableFilesHavePendingReplacements) {
    Add(datafile::kDefinitionDate, "4/1/2010\r\n");
    Add(datafile::kDirectoryDefinitions, "live dirs");
    Add("DLDirectoryDefinition.dat", "new dirs");
    Add("DLSafety.dat", "new safety");
    InstallPendingDefinitionFiles(files, dataFolder);
    EXPECT_EQ(files.Content(PathOf(datafile::kDirectoryDefinitions)), "live dirs");
    EXPECT_TRUE(Has("DLDirectoryDefinition.dat"));
    EXPECT_TRUE(Has("DLSafety.dat"));
    EXPECT_FALSE(Has(datafile::kSafety));
    EXPECT_TRUE(Has(datafile::kDefinitionDate)) << "nothing was put in place";
}

}  // namespace
}  // namespace bastion
