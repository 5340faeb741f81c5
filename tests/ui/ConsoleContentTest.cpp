// Content definitions through bastion-scan under Wine, against real files:
// a threat is found by what it holds under any name and in any folder, a
// file of the same size that holds something else is not, what is found is
// removed and put back byte for byte, and the starter set finds the
// antivirus test file in a new user's Documents.
#include <gtest/gtest.h>

#include "DataFolderFixture.h"

#include "common/Text.h"
#include "definitions/content/ContentDefinitions.h"
#include "platform/win32/Win32Crypto.h"

namespace bastion::uitest {
namespace {

constexpr std::string_view kEicar = R"(X5O!P%@AP[4\PZX54(P^)7CC)7}$EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*)";
constexpr std::string_view kEicarKey = "68:275a021bbfb6489e54d471899f7db9d1663fc695ec2fe2a2c4538aabf651fd0f";

class ConsoleContentTest : public DataFolderFixture {
protected:
    ConsoleContentTest() : DataFolderFixture("content") {
        quarantineFolder = dataFolder + "\\quarantine";
        files.DeleteFolderTree(quarantineFolder);
    }
    ~ConsoleContentTest() override { files.DeleteFolderTree(quarantineFolder); }

    void Plant(const std::string& path, const std::string& content) {
        files.CreateFolder(path.substr(0, path.rfind('\\')));
        ASSERT_TRUE(files.WriteFile(path, content));
    }
    std::string Scan(const std::string& arguments, DWORD& exitCode) {
        return RunScanner(win32::Widen(arguments), exitCode);
    }

    std::string quarantineFolder;
};

TEST_F(ConsoleContentTest, AThreatIsFoundByWhatItHoldsRemovedAndPutBackWhole) {
    // A program-like file with every byte value, so that a restore that
    // changed a byte (a code page, a line end) shows.
    std::string threat = "MZ";
    for (int i = 0; i < 4096; ++i) threat.push_back(static_cast<char>((i * 7) & 0xff));
    std::string sameSize = threat;
    sameSize[100] ^= 1;
    const std::string first = scratch + "\\Downloads\\invoice.pdf.exe";
    const std::string second = scratch + "\\Deep\\Er\\setup.tmp";
    const std::string other = scratch + "\\Downloads\\same-size.bin";
    Plant(first, threat);
    Plant(second, threat);
    Plant(other, sameSize);
    const std::string sha256 = Sha256Hex(win32::Win32Crypto().Sha256(threat).value());
    WriteDefinitions("ContentDefinition.dat", {std::string(kEicarKey) + "=EICAR-Test-File|Testfile",
                                               std::to_string(threat.size()) + ":" + sha256 + "=Renamed.Dropper|Trojan"});
    DWORD exitCode = 0;

    std::string output = Scan("folder \"" + scratch + "\" --no-report --no-processes", exitCode);
    EXPECT_EQ(exitCode, 1u) << output;
    for (const std::string& found : {first, second}) {
        EXPECT_NE(output.find("Renamed.Dropper\t" + found + "\tTrojan\t"), std::string::npos) << found << "\n" << output;
    }
    EXPECT_EQ(output.find(other), std::string::npos) << output;

    output = Scan("folder \"" + scratch + "\" --no-report --no-processes --remove", exitCode);
    EXPECT_EQ(exitCode, 1u) << output;
    for (const std::string& found : {first, second}) {
        EXPECT_NE(output.find("removed\t" + found + "\n"), std::string::npos) << output;
        EXPECT_FALSE(files.Lookup(found)) << found;
    }
    EXPECT_EQ(files.ReadFile(other), sameSize);

    output = Scan("quarantine restore --all", exitCode);
    EXPECT_EQ(exitCode, 0u) << output;
    EXPECT_EQ(files.ReadFile(first), threat);
    EXPECT_EQ(files.ReadFile(second), threat);
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
