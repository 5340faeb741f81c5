#include "scan/content/ContentScan.h"

#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/walk/Walker.h"
#include "support/PortableSha256.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

using testing::ScanHarness;
using Rows = std::vector<std::string>;

constexpr std::string_view kEicar = R"(X5O!P%@AP[4\PZX54(P^)7CC)7}$EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*)";

std::string ContentLineFor(std::string_view content, std::string_view rest) {
    return std::to_string(content.size()) + ":" + Sha256Hex(testing::PortableSha256(content)) + "=" +
           std::string(rest);
}

struct ContentScanTest : ::testing::Test {
    ContentScanTest() {
        harness.WriteDefinitions(datafile::kContentDefinitions,
                                 {ContentLineFor(kEicar, "EICAR-Test-File|Testfile"), "not a definition",
                                  ContentLineFor(std::string(20000, 'x'), "Big-Threat|Trojan")});
    }
    Rows Activity() const { return ScanHarness::Rows(harness.state.ActivityList()); }

    ScanHarness harness;
    ScanContext context = harness.Context();
    testing::FakeFileSystem& files = harness.machine.files;
};

TEST_F(ContentScanTest, FolderScanFindsAThreatByContentUnderAnyNameAndReadsOnlyFilesOfADefinedSize) {
    files.AddFile("C:\\Top\\innocent.txt", std::string(kEicar));
    files.AddFile("C:\\Top\\Deep\\Deeper\\renamed.doc", std::string(kEicar));
    std::string sameSize(kEicar);
    sameSize.back() = '!';
    files.AddFile("C:\\Top\\same-size.txt", sameSize);
    files.AddFile("C:\\Top\\Big\\big.bin", std::string(20000, 'x'));
    for (int i = 0; i < 50; ++i) files.AddFile("C:\\Top\\Other\\file" + std::to_string(i), std::string(i, 'y'));
    LoadDefinitions(context);
    EXPECT_EQ(harness.tables.Content().Size(), 2u);

    ScanFolder(context, "C:\\Top\\");

    EXPECT_EQ(Activity(), (Rows{"EICAR-Test-File|C:\\Top\\innocent.txt#3/0",
                                "EICAR-Test-File|C:\\Top\\Deep\\Deeper\\renamed.doc#3/0",
                                "Big-Threat|C:\\Top\\Big\\big.bin#3/0"}));
    EXPECT_EQ(ScanHarness::Rows(harness.state.ResultsList())[0],
              "EICAR-Test-File|C:\\Top\\innocent.txt|Testfile#3/3");
    // Queued for removal as a file definition's detection is.
    EXPECT_EQ(ScanHarness::Rows(harness.state.FileQueue())[1],
              "C:\\Top\\Deep\\Deeper\\renamed.doc|EICAR-Test-File#0/0");
    EXPECT_EQ(harness.state.counters.itemsFound, 3);
    // Three files of the defined sizes and the one of the same size as the
    // test file; none of the others.
    EXPECT_EQ(files.ContentHashes(), 4u);
}

TEST_F(ContentScanTest, NameDetectionsExclusionsProtectionAndUnreadableFiles) {
    files.AddFile("C:\\Top\\One\\Two\\spyware.exe", std::string(kEicar));
    files.AddFile("C:\\Top\\excluded.com", std::string(kEicar));
    files.AddFile("C:\\Top\\protected.com", std::string(kEicar));
    files.AddFile("C:\\Top\\locked.com", std::string(kEicar));
    files.FailReads("C:\\Top\\locked.com");
    harness.exclusions.Assign({"C:\\Top\\excluded.com"});
    harness.safety.Assign({"C:\\Top\\protected.com"});
    LoadDefinitions(context);
    harness.tables.Files().Add({"spyware.exe", "c:\\top\\one\\two\\", "Adware", "Named-Threat"});

    ScanFolder(context, "C:\\Top\\");

    // A file its name gives away is reported once, by its name; an excluded
    // file shows as excluded, a protected one not at all, and one that
    // cannot be read is counted and the scan goes on.
    EXPECT_EQ(Activity(), (Rows{"EXCLUDED|C:\\Top\\excluded.com#5/0",
                                "Named-Threat|C:\\Top\\One\\Two\\spyware.exe#3/0"}));
    EXPECT_EQ(harness.state.counters.contentUnreadable, 1);
    EXPECT_EQ(harness.state.counters.itemsFound, 1);

    // The File Scan asks for the size itself.
    harness.state.Reset();
    files.AddFile("C:\\Single\\eicar.com", std::string(kEicar));
    ScanFile(context, "C:\\Single\\eicar.com");
    EXPECT_EQ(Activity(), Rows{"EICAR-Test-File|C:\\Single\\eicar.com#3/0"});
}

TEST_F(ContentScanTest, LoadedOncePerRunAndAgainAfterTheTablesAreDiscarded) {
    files.AddFile("C:\\Top\\eicar.com", std::string(kEicar));
    LoadContentDefinitions(context);
    harness.WriteDefinitions(datafile::kContentDefinitions, {});
    LoadContentDefinitions(context);
    EXPECT_EQ(harness.tables.Content().Size(), 2u);

    harness.tables.Discard();
    LoadContentDefinitions(context);
    EXPECT_EQ(harness.tables.Content().Size(), 0u);
    files.DeleteFile(DataFilePath(harness.dataFolder, datafile::kContentDefinitions));
    harness.tables.Discard();
    LoadContentDefinitions(context);
    EXPECT_FALSE(IdentifyContent(context, "C:\\Top\\eicar.com", kEicar.size()).match);
}

}  // namespace
}  // namespace bastion
