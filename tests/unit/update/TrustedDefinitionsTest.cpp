// What a run with administrator rights takes its definitions from: the
// program folder's starter set and the signed deltas an update kept, each
// verified again, never the definition files of the user's folder.
#include "update/TrustedDefinitions.h"

#include <gtest/gtest.h>

#include "common/Base64.h"
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionCodec.h"
#include "definitions/DefinitionFile.h"
#include "platform/LineFile.h"
#include "support/FakeCrypto.h"
#include "support/FakeFileSystem.h"
#include "update/KeptDeltas.h"

namespace bastion {
namespace {

std::string Stored(const std::string& line) { return EncodeDefinitionText(line) + "\r\n"; }

std::string Record(const std::string& action, const std::string& body) {
    std::string sent;
    for (char c : body) sent += (c == '|' || c == '=') ? std::string(1, c) : EncodeDefinitionText(std::string(1, c));
    return EncodeDefinitionText("FILE") + "|" + action + "[DEF]" + sent;
}

struct TrustedDefinitionsTest : ::testing::Test {
    TrustedDefinitionsTest() {
        files.AddFolder(program + "\\StarterDefinitions");
        files.AddFolder(data);
        files.AddFile(program + "\\StarterDefinitions\\FileDefinition.dat", Stored("a.exe=A|[windir]|Adware"));
        files.AddFile(program + "\\StarterDefinitions\\date.dat", "3/17/2006\r\n");
    }
    std::string Delta(const std::string& from, const std::string& to, const std::vector<std::string>& records) {
        const std::string signedPart =
            "DELTA|" + from + "|" + to + "|" + ToDecimal(static_cast<long long>(records.size())) + "[BR]" +
            Join(records, "[BR]");
        return signedPart + "[BR]SIGNATURE|" + Base64Encode(testing::FakeCrypto::Sign(key, signedPart));
    }
    std::vector<std::string> Lines(platform::FileSystem& fs, std::string_view name) {
        std::vector<std::string> lines;
        ReadDefinitionLines(fs, Windows1252(), DataFilePath(data, name), [&](const std::string& line) {
            lines.push_back(line);
            return true;
        });
        return lines;
    }
    std::vector<std::string> Kept() {
        std::vector<std::string> names;
        const std::optional<platform::DirListing> listing = files.ListDirectory(data + "\\SignedDeltas");
        for (const platform::DirEntry& entry : listing->entries) {
            names.push_back(entry.name);
        }
        return names;
    }

    testing::FakeFileSystem files;
    testing::FakeCrypto crypto;
    const std::string key = testing::FakeCrypto::Key(1);
    const std::string program = "C:\\Program Files\\Bastion";
    const std::string data = "C:\\Users\\me\\AppData\\Roaming\\DovuVedivazIVE";
};

TEST_F(TrustedDefinitionsTest, AreTheStarterSetAndTheKeptDeltasWhateverTheFilesSay) {
    ASSERT_TRUE(KeepVerifiedDelta(files, data, Delta("3/17/2006", "4/1/2010", {Record("ADD", "b.exe=B|[windir]|Adware")})));
    ASSERT_TRUE(KeepVerifiedDelta(files, data, Delta("4/1/2010", "5/1/2010", {Record("DEL", "a.exe"),
                                                                              Record("ADD", "c.exe=C|[windir]|Adware")})));
    // One that does not verify, one from a date no chain reaches.
    std::string tampered = Delta("5/1/2010", "6/1/2010", {Record("ADD", "evil.exe=Evil|[windir]|Adware")});
    tampered[tampered.find("[DEF]") + 5] ^= 1;
    files.AddFile(data + "\\SignedDeltas\\20100501000000-20100601000000.delta", tampered);
    files.AddFile(data + "\\SignedDeltas\\20100701000000-20100801000000.delta",
                  Delta("7/1/2010", "8/1/2010", {Record("ADD", "far.exe=Far|[windir]|Adware")}));
    // What any program of the user may write.
    files.AddFile(DataFilePath(data, datafile::kFileDefinitions), Stored("notepad.exe=Edited|[windir]|Adware"));
    files.AddFile(DataFilePath(data, datafile::kDefinitionDate), "1/1/2099\r\n");

    TrustedDefinitionFiles trusted(files, program, data, {&crypto, key});
    EXPECT_EQ(Lines(trusted, datafile::kFileDefinitions),
              (std::vector<std::string>{"b.exe=B|[windir]|Adware", "c.exe=C|[windir]|Adware"}));
    EXPECT_EQ(trusted.ReadFile(DataFilePath(data, datafile::kDefinitionDate)), "5/1/2010\r\n");
    EXPECT_TRUE(trusted.Lookup(DataFilePath(data, datafile::kDirectoryDefinitions))) << "every file of the set is there";
    EXPECT_EQ(trusted.Skipped(), std::vector<std::string>{"20100501000000-20100601000000.delta"});
    // Anything else is the machine's.
    EXPECT_EQ(trusted.ReadFile(program + "\\StarterDefinitions\\date.dat"), "3/17/2006\r\n");

    // An update of this run writes the files and keeps its delta: a delta
    // that holds every change since the first day makes the others
    // needless, and the definitions follow it at once.
    platform::WriteFileReplacing(trusted, DataFilePath(data, datafile::kFileDefinitions), "written\r\n");
    ASSERT_TRUE(KeepVerifiedDelta(trusted, data, Delta("3/16/2006", "9/1/2010", {Record("ADD", "z.exe=Z|[windir]|Adware")})));
    EXPECT_EQ(Kept(), (std::vector<std::string>{"20060316000000-20100901000000.delta"}));
    EXPECT_EQ(Lines(trusted, datafile::kFileDefinitions),
              (std::vector<std::string>{"a.exe=A|[windir]|Adware", "z.exe=Z|[windir]|Adware"}));
    EXPECT_EQ(files.Content(DataFilePath(data, datafile::kFileDefinitions)), "written\r\n");
}

TEST_F(TrustedDefinitionsTest, WithoutKeptDeltasOrAStarterSetTheSetIsEmptyAndDatedTheFirstDay) {
    files.DeleteFolderTree(program + "\\StarterDefinitions");
    const TrustedDefinitions made = BuildTrustedDefinitions(files, program, data, {&crypto, key});
    EXPECT_EQ(made.date, (DateTime{2006, 3, 16, 0, 0, 0}));
    ASSERT_EQ(made.files.size(), 8u);
    for (const auto& [name, content] : made.files) {
        if (name == datafile::kDefinitionDate) continue;
        EXPECT_EQ(content, "") << name;
    }
}

}  // namespace
}  // namespace bastion
