// Content definitions through bastion-scan under Wine, against real files:
// a threat is found by what it holds under any name and in any folder, a
// file of the same size that holds something else is not, what is found is
// removed, kept in the quarantine where no scan finds it again, and put
// back byte for byte; the empty file is no threat whatever a list says; and
// the starter set finds the antivirus test file in a new user's Documents.
#include <gtest/gtest.h>

#include "DataFolderFixture.h"

#include "common/Text.h"
#include "definitions/content/ContentDefinitions.h"
#include "platform/LineFile.h"
#include "platform/win32/Win32Crypto.h"
#include "removal/quarantine/QuarantineIndex.h"
#include "removal/quarantine/StoredCopy.h"

namespace bastion::uitest {
namespace {


class ConsoleContentTest : public DataFolderFixture {
protected:
    ConsoleContentTest() : DataFolderFixture("content") {
        quarantineFolder = dataFolder + "\\quarantine";
        files.DeleteFolderTree(quarantineFolder);
        // Beside the data folder, not in it: walks find no content there.
        appData = dataFolder.substr(0, dataFolder.rfind('\\'));
        outside = appData + "\\bastion content " + std::to_string(GetCurrentProcessId());
    }
    ~ConsoleContentTest() override {
        files.DeleteFolderTree(quarantineFolder);
        files.DeleteFolderTree(outside);
    }

    void Plant(const std::string& path, const std::string& content) {
        files.CreateFolder(path.substr(0, path.rfind('\\')));
        ASSERT_TRUE(files.WriteFile(path, content));
    }
    std::string Scan(const std::string& arguments, DWORD& exitCode) {
        return RunScanner(win32::Widen(arguments), exitCode);
    }

    std::string quarantineFolder;
    std::string appData;
    std::string outside;
};

TEST_F(ConsoleContentTest, AThreatIsFoundByWhatItHoldsKeptTransformedAndPutBackWhole) {
    // A program-like file with every byte value, so that a restore that
    // changed a byte (a code page, a line end) shows.
    std::string threat = "MZ";
    for (int i = 0; i < 4096; ++i) threat.push_back(static_cast<char>((i * 7) & 0xff));
    std::string sameSize = threat;
    sameSize[100] ^= 1;
    const std::string first = outside + "\\Downloads\\invoice.pdf.exe";
    const std::string second = outside + "\\Deep\\Er\\setup.tmp";
    const std::string other = outside + "\\Downloads\\same-size.bin";
    Plant(first, threat);
    Plant(second, threat);
    Plant(other, sameSize);
    const std::string sha256 = Sha256Hex(win32::Win32Crypto().Sha256(threat).value());
    WriteDefinitions("ContentDefinition.dat", {std::string(kEicarKey) + "=EICAR-Test-File|Testfile",
                                               std::to_string(threat.size()) + ":" + sha256 + "=Renamed.Dropper|Trojan"});
    DWORD exitCode = 0;

    std::string output = Scan("folder \"" + outside + "\" --no-report --no-processes", exitCode);
    EXPECT_EQ(exitCode, 1u) << output;
    for (const std::string& found : {first, second}) {
        EXPECT_NE(output.find("Renamed.Dropper\t" + found + "\tTrojan\t"), std::string::npos) << found << "\n" << output;
    }
    EXPECT_EQ(output.find(other), std::string::npos) << output;

    output = Scan("folder \"" + outside + "\" --no-report --no-processes --remove", exitCode);
    EXPECT_EQ(exitCode, 1u) << output;
    for (const std::string& found : {first, second}) {
        EXPECT_NE(output.find("removed\t" + found + "\n"), std::string::npos) << output;
        EXPECT_FALSE(files.Lookup(found)) << found;
    }
    EXPECT_EQ(files.ReadFile(other), sameSize);

    // The quarantine keeps them transformed, behind a header that says so:
    // no scanner finds them there, and nobody runs them by mistake.
    int kept = 0;
    const std::optional<platform::DirListing> stored = files.ListDirectory(quarantineFolder);
    ASSERT_TRUE(stored);
    for (const platform::DirEntry& entry : stored->entries) {
        if (entry.name.find("invoice.pdf.exe") == std::string::npos && entry.name.find("setup.tmp") == std::string::npos) {
            continue;
        }
        ++kept;
        const std::string bytes = files.ReadFile(quarantineFolder + "\\" + entry.name).value_or("");
        EXPECT_EQ(bytes.rfind(kStoredCopyHeader, 0), 0u) << entry.name;
        EXPECT_EQ(bytes.size(), kStoredCopyHeader.size() + threat.size()) << entry.name;
        EXPECT_EQ(bytes.find(threat.substr(0, 64)), std::string::npos) << entry.name;
    }
    EXPECT_EQ(kept, 2);
    // A scan of the folder that holds the data folder and the place the
    // threats were taken from, as a scan of the user's profile would be,
    // finds nothing.
    output = Scan("folder \"" + appData + "\" --no-report --no-processes", exitCode);
    EXPECT_EQ(exitCode, 0u) << output;
    EXPECT_EQ(output.find("Renamed.Dropper"), std::string::npos) << output;

    // An item the quarantine kept before copies were transformed, as it
    // was, is put back too.
    const std::string old = outside + "\\Old\\old.exe";
    ASSERT_TRUE(files.WriteFile(quarantineFolder + "\\900_old.exe", threat));
    ASSERT_TRUE(platform::AppendLine(files, quarantineFolder + "\\" + std::string(kQuarantineIndexFile),
                                     FormatIndexRecord({900, "5/1/2024 1:00:00 PM", QuarantineKind::File,
                                                        "900_old.exe", old})));

    output = Scan("quarantine restore --all", exitCode);
    EXPECT_EQ(exitCode, 0u) << output;
    for (const std::string& restored : {first, second, old}) EXPECT_EQ(files.ReadFile(restored), threat) << restored;
}

TEST_F(ConsoleContentTest, TheEmptyFileIsNoThreatWhateverAListSays) {
    // Public hash lists carry the empty file: by its size, by its hash, or
    // both.
    const std::string empty = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
    WriteDefinitions("ContentDefinition.dat",
                     {"0:" + empty + "=Empty-File|Trojan", "0:" + std::string(kEicarKey).substr(3) + "=Zero|Trojan",
                      "68:" + empty + "=Empty-Hash|Trojan", std::string(kEicarKey) + "=EICAR-Test-File|Testfile"});
    Plant(outside + "\\x\\.keep", "");
    Plant(outside + "\\x\\empty.txt", "");
    Plant(outside + "\\x\\eicar.com", std::string(kEicar));
    DWORD exitCode = 0;

    const std::string output = Scan("folder \"" + outside + "\" --no-report --no-processes", exitCode);

    EXPECT_EQ(exitCode, 1u) << output;
    EXPECT_NE(output.find("EICAR-Test-File\t" + outside + "\\x\\eicar.com\tTestfile\t"), std::string::npos) << output;
    EXPECT_EQ(output.find(".keep"), std::string::npos) << output;
    EXPECT_EQ(output.find("empty.txt"), std::string::npos) << output;
    EXPECT_NE(output.find("Content definition lines left out: 3"), std::string::npos) << output;
}

TEST_F(ConsoleContentTest, TheStarterSetFindsTheTestFileInANewUsersDocuments) {
    // A data folder without definitions, as a new user's: the scanner puts
    // the starter set in place first.
    const std::vector<std::string> setFiles = {"Safety.dat", "date.dat"};
    std::vector<std::optional<std::string>> kept;
    for (const std::string& file : setFiles) kept.push_back(files.ReadFile(DataFilePath(dataFolder, file)));
    for (const char* file : kDefinitionFiles) files.DeleteFile(DataFilePath(dataFolder, file));
    for (const std::string& file : setFiles) files.DeleteFile(DataFilePath(dataFolder, file));
    // In a folder of its own in Documents: under Wine Documents is the
    // host's home folder, too large to walk in a test.
    const std::string folder = PathTokens::Resolve(shell).Expand("[personl]") + "Bastion content " +
                               std::to_string(GetCurrentProcessId());
    const std::string testFile = folder + "\\downloaded.txt";
    Plant(testFile, std::string(kEicar));

    DWORD exitCode = 0;
    const std::string output = Scan("folder \"" + folder + "\" --no-report --no-processes", exitCode);
    files.DeleteFolderTree(folder);
    for (std::size_t i = 0; i < setFiles.size(); ++i) {
        const std::string path = DataFilePath(dataFolder, setFiles[i]);
        if (kept[i]) {
            files.WriteFile(path, *kept[i]);
        } else {
            files.DeleteFile(path);
        }
    }
    EXPECT_EQ(exitCode, 1u) << output;
    EXPECT_NE(output.find("EICAR-Test-File\t" + testFile + "\tTestfile\t"), std::string::npos) << output;
}

}  // namespace
}  // namespace bastion::uitest
