#include "scan/files/CompanyName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/FakeFileSystem.h"
#include "support/ScanHarness.h"

namespace bastion {
namespace {

using namespace std::string_literals;

std::string Wide(std::string_view name) {
    std::string key(1, '\x01');
    for (char c : name) {
        key += '\0';
        key += c;
    }
    return key;
}

// The company name found with the whole file in memory, searched as written.
std::string WholeFileCompany(const std::string& data) {
    std::size_t hit = std::string::npos;
    std::size_t offset = 0;
    std::string marker;
    const std::size_t wideInfo = data.find(Wide("StringFileInfo"));
    if (wideInfo != std::string::npos) {
        hit = data.find(Wide("CompanyName"), wideInfo);
        offset = 26;
        marker = Wide("FileDescription");
    } else {
        std::size_t start = data.find("StringFileInfo");
        if (start == std::string::npos) start = 0;
        hit = data.find("CompanyName", start);
        offset = 12;
        marker = "FileDescription";
        if (hit == std::string::npos) {
            hit = data.find(Wide("CompanyName"));
            offset = 26;
            marker = Wide("FileDescription");
        }
    }
    if (hit == std::string::npos) return {};
    const std::size_t begin = std::min(hit + offset, data.size());
    const std::size_t end = data.find(std::string(3, '\0'), begin);
    std::string value = data.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    if (value.find(marker) != std::string::npos) {
        std::size_t cut = std::min<std::size_t>(value.size(), 255);
        for (std::size_t i = 0; i < cut; ++i) {
            if (static_cast<unsigned char>(value[i]) < 32) {
                cut = i;
                break;
            }
        }
        value.resize(cut);
    }
    std::erase(value, '\0');
    return value;
}

class MemoryReader : public platform::FileReader {
public:
    explicit MemoryReader(std::string data) : data_(std::move(data)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, data_.size() - position_);
        std::copy_n(data_.data() + position_, n, buffer);
        position_ += n;
        return n;
    }
    std::size_t Position() const { return position_; }

private:
    std::string data_;
    std::size_t position_ = 0;
};

std::string Chunked(const std::string& data, std::size_t chunk) {
    MemoryReader reader(data);
    return FindCompanyNameBytes(reader, chunk);
}

std::string Utf16(std::string_view text) {
    std::string out;
    for (char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}

TEST(CompanyNameTest, ChunkedSearchGivesTheWholeFileAnswerWithKeysAcrossChunkBoundaries) {
    const std::string wideValue = Wide("CompanyName") + std::string(3, '\0') + Utf16("Spy Corp") + std::string(4, '\0');
    const std::vector<std::string> files = {
        testing::ProgramWithCompany("Microsoft Corporation"),
        // Only plain keys, before and after a plain "StringFileInfo".
        "xxCompanyName\0Early\0\0\0StringFileInfo..CompanyName\0Late Inc\0\0\0"s + std::string(5, 'z'),
        "CompanyName\0Plain Only\0\0\0"s,
        // No plain key: the wide one wherever it is.
        "junk" + wideValue,
        // A plain "StringFileInfo" with no plain key after it.
        "CompanyName\0Before\0\0\0StringFileInfo"s + wideValue,
        // The wide "StringFileInfo" wins even after plain hits.
        "CompanyName\0Plain\0\0\0"s + wideValue + Wide("StringFileInfo") + wideValue.substr(0, 30) + "Zed" +
            std::string(3, '\0'),
        // A value running into the next entry ends at its first control
        // character.
        Wide("StringFileInfo") + Wide("CompanyName") + "\0\0\0Acme"s + std::string(1, '\0') + "x" +
            Wide("FileDescription") + "\0\0\0"s,
        "CompanyName\0ABC\x05"s + std::string(300, 'y') + "FileDescription",
        "CompanyName\0"s + std::string(300, 'q') + "FileDescription\0\0\0"s,
        // Hits too near the end for a value.
        "CompanyName\0"s,
        "StringFileInfo" + Wide("CompanyName"),
        "nothing here at all",
        "",
    };
    for (std::size_t f = 0; f < files.size(); ++f) {
        const std::string expected = WholeFileCompany(files[f]);
        for (std::size_t chunk : {1, 2, 3, 5, 7, 11, 13, 23, 29, 64, 4096}) {
            EXPECT_EQ(Chunked(files[f], chunk), expected) << "file " << f << " chunk " << chunk;
        }
    }
    EXPECT_EQ(Chunked(files[0], 7), "Microsoft Corporation");
    EXPECT_EQ(Chunked(files[1], 7), "Late Inc");
    EXPECT_EQ(Chunked(files[6], 7), "Acme");
}

TEST(CompanyNameTest, ChunkedSearchAgreesOnGeneratedFiles) {
    std::mt19937 random(20260101);
    const std::vector<std::string> pieces = {
        Wide("StringFileInfo"), Wide("CompanyName"), Wide("FileDescription"), "StringFileInfo", "CompanyName",
        "FileDescription",      std::string(3, '\0'), std::string(2, '\0'), "Acme", Utf16("Wide Co"), "\x01", "\x1f"};
    for (int round = 0; round < 400; ++round) {
        std::string data;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            if (random() % 3 == 0) {
                data += static_cast<char>(random() % 256);
            } else {
                data += pieces[random() % pieces.size()];
            }
        }
        const std::size_t chunk = 1 + random() % 40;
        ASSERT_EQ(Chunked(data, chunk), WholeFileCompany(data)) << "round " << round << " chunk " << chunk;
    }
}

TEST(CompanyNameTest, StopsReadingOnceAWideCompanyAfterAWideStringFileInfoIsComplete) {
    MemoryReader reader(testing::ProgramWithCompany("Acme") + std::string(10 << 20, 'x'));
    EXPECT_EQ(FindCompanyNameBytes(reader, 4096), "Acme");
    EXPECT_LE(reader.Position(), 4096u);
}

TEST(CompanyNameTest, AValueWithoutEndIsHeldToTheCap) {
    MemoryReader reader(Wide("StringFileInfo") + Wide("CompanyName") + std::string(3, '\0') +
                        std::string(1 << 20, 'v'));
    EXPECT_EQ(FindCompanyNameBytes(reader, 4096).size(), kCompanyValueCap);
    // One shorter than the cap is whole.
    const std::string justShort = Wide("StringFileInfo") + Wide("CompanyName") + std::string(3, '\0') +
                                  std::string(kCompanyValueCap - 1, 'v') + std::string(3, '\0');
    EXPECT_EQ(Chunked(justShort, 1000), WholeFileCompany(justShort));
}

TEST(CompanyNameTest, ConvertsFromTheCodePageAndTreatsUnreadableFilesAsNoCompany) {
    testing::FakeFileSystem files;
    files.AddFile("C:\\a.exe", "CompanyName\0Caf\xe9 GmbH\0\0\0"s);
    EXPECT_EQ(GetFileCompanyName(files, Windows1252(), "C:\\a.exe"), "Caf\xc3\xa9 GmbH");
    files.FailReads("C:\\a.exe");
    EXPECT_EQ(GetFileCompanyName(files, Windows1252(), "C:\\a.exe"), "");
    EXPECT_EQ(GetFileCompanyName(files, Windows1252(), "C:\\missing.exe"), "");
}

TEST(CompanyNameTest, MicrosoftIsRecognisedInAnyCaseWithBlanksAround) {
    EXPECT_TRUE(IsMicrosoftCompany("Microsoft Corporation"));
    EXPECT_TRUE(IsMicrosoftCompany("  MICROSOFT corporation "));
    EXPECT_FALSE(IsMicrosoftCompany("Microsoft Corporation\t"));
    EXPECT_FALSE(IsMicrosoftCompany("Microsoft"));
}

}  // namespace
}  // namespace bastion
