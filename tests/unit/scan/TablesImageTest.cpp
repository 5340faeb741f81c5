#include "definitions/TablesImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "definitions/DataFiles.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/files/FolderMatchers.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

using testing::ScanHarness;

const std::vector<std::string> kFileLines = {
    "spy.dll=Spy|[progfil]SpyCo|Adware", "root.exe=Root|[drive]Spy\\", "plain.dll=Plain",
    "shared.dll=One|[windir]system32",   "shared.dll=Two|[windir]system32|TYPE",
    "good.exe=Not Really|[windir]system32",
};
const std::vector<std::string> kDirectoryLines = {
    "SpyCo=Spy Dir|[progfil]SpyCo|Adware", "Root=Root Dir|[drive]\\SpyDir", "Win=Win Dir|[windir]SpyDir"};

struct TablesImageTest : ::testing::Test {
    ScanHarness harness;
    ScanContext context = harness.Context();
    const std::string image = DataFilePath(harness.dataFolder, datafile::kTablesImage);

    TablesImageTest() {
        harness.WriteDefinitions(datafile::kFileDefinitions, kFileLines);
        harness.WriteDefinitions(datafile::kDirectoryDefinitions, kDirectoryLines);
    }

    // A run of the program: its first scan loads the tables and walks these
    // places; what it found.
    std::vector<std::string> Run() {
        harness.tables.Discard();
        harness.BeginScan();
        EXPECT_TRUE(LoadDefinitions(context));
        for (const char* file :
             {"C:\\Program Files\\SpyCo\\spy.dll", "C:\\Spy\\root.exe", "C:\\WINDOWS\\system32\\shared.dll",
              "C:\\x\\plain.dll", "C:\\WINDOWS\\system32\\good.exe", "C:\\WINDOWS\\system32\\new.dll",
              "C:\\x\\other.dll"}) {
            MatchFoundFile(context, file);
        }
        for (const char* folder : {"C:\\Program Files\\SpyCo\\", "E:\\SpyDir\\", "C:\\WINDOWS\\SpyDir\\", "C:\\x\\"}) {
            MatchFoundDirectory(context, folder);
        }
        return harness.Detections();
    }

    void DamageImage(const std::function<void(std::string&)>& damage) {
        std::string bytes = harness.machine.files.ReadFile(image).value();
        damage(bytes);
        harness.machine.files.WriteFile(image, bytes);
    }
};

// Whatever changed since the image was saved, the run finds what a load
// from the definition files finds, and saves an image the run after it
// reads.
TEST_F(TablesImageTest, ARunReadsTheSavedImageOnlyWhileItStillHoldsWhatTheFilesWouldLoad) {
    const std::vector<std::string> first = Run();
    ASSERT_FALSE(harness.tables.FromImage());
    ASSERT_EQ(first.size(), 6u);
    EXPECT_EQ(Run(), first);
    EXPECT_TRUE(harness.tables.FromImage());

    struct Change {
        const char* what;
        std::function<void()> make;
        std::ptrdiff_t foundMore;  // than the first run
    };
    const std::vector<Change> changes = {
        {"a definition added",
         [&] {
             std::vector<std::string> lines = kFileLines;
             lines.push_back("new.dll=New|[windir]system32");
             harness.WriteDefinitions(datafile::kFileDefinitions, lines);
         },
         1},
        {"the safety list protects a place", [&] { harness.safety.Assign({"C:\\WINDOWS\\system32\\shared.dll"}); }, -1},
        {"the folders the tokens stand for", [&] { harness.Use64BitWindows(); }, 0},
        {"a byte of the image changed", [&] { DamageImage([](std::string& bytes) { bytes[bytes.size() / 2] ^= 1; }); }, 0},
        {"the image cut short", [&] { DamageImage([](std::string& bytes) { bytes.resize(bytes.size() - 8); }); }, 0},
        {"the image's structure damaged under a right checksum",
         [&] {
             DamageImage([](std::string& bytes) {
                 // Every 32-bit word set to one row past any table's end:
                 // the numbers, the marks and the slots alike.
                 for (std::size_t at = 16 + 9 * 8; at + 4 <= bytes.size(); at += 4) bytes[at] = 0x7f;
                 const std::uint64_t sum = TablesImageChecksum(std::string_view(bytes).substr(16));
                 std::memcpy(bytes.data() + 8, &sum, sizeof sum);
             });
         },
         0},
        {"no image", [&] { harness.machine.files.DeleteFile(image); }, 0},
    };
    std::size_t expected = first.size();
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        // Each change stays for the next, so that each run finds what the
        // first did plus the changes so far.
        change.make();
        expected = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(expected) + change.foundMore);
        EXPECT_EQ(Run().size(), expected);
        EXPECT_FALSE(harness.tables.FromImage());
        const std::vector<std::string> fromFiles = harness.Detections();
        EXPECT_EQ(Run(), fromFiles);
        EXPECT_TRUE(harness.tables.FromImage());
    }
}

// A load cut short by a stop saves no image: the next run would otherwise
// miss the definitions the stop left out.
TEST_F(TablesImageTest, ALoadThatWasStoppedSavesNoImage) {
    harness.BeginScan();
    harness.pump.At(3, [&] { harness.state.RequestStop(); });
    LoadDefinitions(context);
    EXPECT_FALSE(harness.machine.files.FileSize(image));
    harness.state.ClearStop();
    EXPECT_EQ(Run().size(), 6u);
    EXPECT_FALSE(harness.tables.FromImage());
}

}  // namespace
}  // namespace bastion
