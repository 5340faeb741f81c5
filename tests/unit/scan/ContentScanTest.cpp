#include "scan/content/ContentScan.h"

#include <gtest/gtest.h>

#include "definitions/DataFiles.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/walk/Walker.h"
#include "platform/Sha256.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

using testing::ScanHarness;
using Rows = std::vector<std::string>;

constexpr std::string_view kEicar = R"(X5O!P%@AP[4\PZX54(P^)7CC)7}$EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*)";

platform::DirEntry Entry(std::uint64_t size) { return {"", platform::kAttrArchive, size}; }

std::string ContentLineFor(std::string_view content, std::string_view rest) {
    return std::to_string(content.size()) + ":" + Sha256Hex(platform::Sha256Of(content)) + "=" +
           std::string(rest);
}

struct ContentScanTest : ::testing::Test {
    ContentScanTest() {
        harness.WriteDefinitions(datafile::kContentDefinitions,
                                 {ContentLineFor(kEicar, "EICAR-Test-File|Testfile"), "not a definition",
                                  ContentLineFor(std::string(20000, 'x'), "Big-Threat|Trojan")});
    }
    Rows Activity() const { return harness.Activity(); }

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

    EXPECT_EQ(Activity(), (Rows{"EICAR-Test-File|C:\\Top\\innocent.txt#File",
                                "EICAR-Test-File|C:\\Top\\Deep\\Deeper\\renamed.doc#File",
                                "Big-Threat|C:\\Top\\Big\\big.bin#File"}));
    EXPECT_EQ(harness.Detections()[0], "File: EICAR-Test-File|C:\\Top\\innocent.txt|Testfile");
    // Found for removal as a file definition's detection is.
    EXPECT_EQ(std::get<FileItem>(harness.state.Results().detections[1].item).path,
              "C:\\Top\\Deep\\Deeper\\renamed.doc");
    EXPECT_EQ(harness.state.counters.traces, 3);
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
    EXPECT_EQ(Activity(), (Rows{"EXCLUDED|C:\\Top\\excluded.com#Excluded",
                                "Named-Threat|C:\\Top\\One\\Two\\spyware.exe#File"}));
    EXPECT_EQ(harness.state.counters.contentUnreadable, 1);
    EXPECT_EQ(harness.state.counters.itemsFound, 1);

    // The File Scan asks for the size itself.
    harness.BeginScan();
    files.AddFile("C:\\Single\\eicar.com", std::string(kEicar));
    ScanFile(context, "C:\\Single\\eicar.com");
    EXPECT_EQ(Activity(), Rows{"EICAR-Test-File|C:\\Single\\eicar.com#File"});
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
    EXPECT_FALSE(IdentifyContent(context, "C:\\Top\\eicar.com", Entry(kEicar.size())).match);
}

TEST_F(ContentScanTest, FilesWhoseContentLiesElsewhereAreNeverOpenedAndAreCounted) {
    // Reading a cloud service's placeholder downloads the file; offline
    // files come back from an archive.
    for (std::uint32_t attribute :
         {platform::kAttrRecallOnDataAccess, platform::kAttrRecallOnOpen, platform::kAttrOffline}) {
        files.AddFile("C:\\Cloud\\eicar" + std::to_string(attribute) + ".com", std::string(kEicar),
                      platform::kAttrArchive | attribute);
    }
    files.AddFile("C:\\Cloud\\local.com", std::string(kEicar));
    LoadDefinitions(context);

    ScanFolder(context, "C:\\Cloud\\");
    ScanFile(context, "C:\\Cloud\\eicar" + std::to_string(platform::kAttrOffline) + ".com");

    EXPECT_EQ(Activity(), Rows{"EICAR-Test-File|C:\\Cloud\\local.com#File"});
    EXPECT_EQ(files.ContentHashes(), 1u);
    EXPECT_EQ(harness.state.counters.contentElsewhere, 4);
    EXPECT_EQ(harness.state.counters.contentUnreadable, 0);
}

TEST_F(ContentScanTest, TheSizeAFileHasWhenOpenedIsLookedUpAndExactlyThatIsHashed) {
    files.AddFile("C:\\Top\\eicar.com", std::string(kEicar));
    files.AddFile("C:\\Top\\grown.com", std::string(kEicar) + "!");
    LoadContentDefinitions(context);

    // Listed at another defined size, then written: found by what it holds now.
    const ContentVerdict rewritten = IdentifyContent(context, "C:\\Top\\eicar.com", Entry(20000));
    ASSERT_TRUE(rewritten.match);
    EXPECT_EQ(rewritten.match->threat, "EICAR-Test-File");
    // Listed at the test file's size, now a byte longer: no definition has
    // that size, and it is not read.
    const ContentVerdict grown = IdentifyContent(context, "C:\\Top\\grown.com", Entry(kEicar.size()));
    EXPECT_FALSE(grown.match);
    EXPECT_FALSE(grown.unreadable);
    EXPECT_EQ(files.ReadCalls("C:\\Top\\grown.com"), 1u) << "opened for its size only";
}

TEST_F(ContentScanTest, ALargeFileIsHashedWithTheWindowPumpedBetweenPiecesAndAStopAbandonsIt) {
    const std::string large(5 * platform::kContentHashPiece + 10, 'L');
    harness.WriteDefinitions(datafile::kContentDefinitions, {ContentLineFor(large, "Large-Threat|Trojan")});
    files.AddFile("C:\\Top\\large.bin", large);
    LoadContentDefinitions(context);

    const int before = harness.pump.PumpCount();
    EXPECT_TRUE(IdentifyContent(context, "C:\\Top\\large.bin", Entry(large.size())).match);
    EXPECT_EQ(harness.pump.PumpCount() - before, 5) << "once between every two pieces";

    harness.pump.At(harness.pump.CallCount() + 2, [&] { harness.state.RequestStop(); });
    const ContentVerdict stopped = IdentifyContent(context, "C:\\Top\\large.bin", Entry(large.size()));
    EXPECT_FALSE(stopped.match);
    EXPECT_FALSE(stopped.unreadable);
}

TEST_F(ContentScanTest, WalksLeaveTheProgramsOwnDataFolderToNameDefinitions) {
    // What the quarantine keeps was found once; a walk over the profile
    // must not find it there again.
    const std::string kept = harness.dataFolder + "\\quarantine\\1_invoice.com";
    files.AddFile(kept, std::string(kEicar));
    files.AddFile(harness.dataFolder + "Twin\\eicar.com", std::string(kEicar));
    LoadDefinitions(context);
    const std::string above = harness.dataFolder.substr(0, harness.dataFolder.rfind('\\') + 1);

    ScanFolder(context, above);

    EXPECT_EQ(Activity(), Rows{"EICAR-Test-File|" + harness.dataFolder + "Twin\\eicar.com#File"});
}

}  // namespace
}  // namespace bastion
