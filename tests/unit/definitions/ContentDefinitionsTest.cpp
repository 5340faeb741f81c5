#include "definitions/content/ContentDefinitions.h"

#include <gtest/gtest.h>

#include "platform/Sha256.h"

namespace bastion {
namespace {

constexpr std::string_view kEicar = R"(X5O!P%@AP[4\PZX54(P^)7CC)7}$EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*)";
constexpr std::string_view kEicarSha256 = "275a021bbfb6489e54d471899f7db9d1663fc695ec2fe2a2c4538aabf651fd0f";

std::string Line(std::uint64_t size, std::string_view content, std::string_view rest) {
    return std::to_string(size) + ":" + Sha256Hex(platform::Sha256Of(content)) + "=" + std::string(rest);
}

TEST(ContentDefinitionsTest, LinesGiveSizeHashThreatAndTypeOrNothing) {
    // The digest the fakes compute is the one the definitions are written
    // with (and Windows computes).
    EXPECT_EQ(Sha256Hex(platform::Sha256Of(kEicar)), kEicarSha256);
    EXPECT_EQ(Sha256Hex(platform::Sha256Of("")),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex(platform::Sha256Of(std::string(1000, 'a'))),
              "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3");

    struct Case {
        std::string line;
        bool valid;
        std::uint64_t size;
        std::string_view threat;
        std::string_view type;
    };
    const std::string hash(kEicarSha256);
    const std::string upper = "275A021BBFB6489E54D471899F7DB9D1663FC695EC2FE2A2C4538AABF651FD0F";
    for (const Case& c : std::vector<Case>{
             {"68:" + hash + "=EICAR-Test-File|Testfile", true, 68, "EICAR-Test-File", "Testfile"},
             {" 68 : " + upper + " = Spaced | Adware |extra", true, 68, "Spaced", "Adware"},
             {"18446744073709551615:" + hash + "=Largest", true, UINT64_MAX, "Largest", ""},
             // The empty file is no threat: public hash lists carry it, and
             // every empty file on the disk would be reported.
             {"0:" + hash + "=Empty|T", false, 0, "", ""},
             {"00:" + hash + "=Empty|T", false, 0, "", ""},
             {"68:E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855=EmptyHash|T", false, 0, "", ""},
             {"68:" + hash + "=Name=more|T", true, 68, "Name", ""},
             {"18446744073709551616:" + hash + "=Overflow|T", false, 0, "", ""},
             {"-1:" + hash + "=Negative|T", false, 0, "", ""},
             {"68:" + hash.substr(1) + "=Short|T", false, 0, "", ""},
             {"68:" + hash.substr(1) + "g=NotHex|T", false, 0, "", ""},
             {":" + hash + "=NoSize|T", false, 0, "", ""},
             {"68:" + hash + "=|NoName", false, 0, "", ""},
             {"68:" + hash, false, 0, "", ""},
             {"", false, 0, "", ""},
         }) {
        SCOPED_TRACE(c.line);
        const std::optional<ContentLine> parsed = ParseContentDefinition(c.line);
        ASSERT_EQ(parsed.has_value(), c.valid);
        if (!parsed) continue;
        EXPECT_EQ(parsed->size, c.size);
        EXPECT_EQ(Sha256Hex(parsed->sha256), hash);
        EXPECT_EQ(parsed->threat, c.threat);
        EXPECT_EQ(parsed->type, c.type);
    }
}

TEST(ContentDefinitionsTest, TableFindsEachContentBySizeAndHashAndNothingElse) {
    ContentTable table;
    const std::vector<std::string> lines{
        Line(5000, "large", "Large|Trojan"),
        Line(68, kEicar, "EICAR-Test-File|Testfile"),
        // The same key a second time: always the same one of the two wins.
        Line(68, kEicar, "Another-Name|Adware"),
        Line(68, "other", "Other|Adware"),
        Line(100, "hundred", "Large|Trojan"),
        Line(std::uint64_t{1} << 40, "huge", "Huge|Trojan"),
    };
    table.Reserve(lines.size(), 0);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) ASSERT_TRUE(table.Add(*ParseContentDefinition(*it)));
    table.Finish();
    ASSERT_EQ(table.Size(), 6u);

    for (std::uint64_t size : {std::uint64_t{68}, std::uint64_t{100}, std::uint64_t{5000}, std::uint64_t{1} << 40}) {
        EXPECT_TRUE(table.HasSize(size)) << size;
    }
    for (std::uint64_t size : {std::uint64_t{0}, std::uint64_t{67}, std::uint64_t{69}, std::uint64_t{4999},
                               (std::uint64_t{1} << 40) + 1, UINT64_MAX}) {
        EXPECT_FALSE(table.HasSize(size)) << size;
    }

    const auto eicar = table.Find(68, platform::Sha256Of(kEicar));
    ASSERT_TRUE(eicar);
    EXPECT_EQ(eicar->threat, "Another-Name");
    ContentTable inFileOrder;
    for (const std::string& line : lines) inFileOrder.Add(*ParseContentDefinition(line));
    inFileOrder.Finish();
    EXPECT_EQ(inFileOrder.Find(68, platform::Sha256Of(kEicar))->threat, "Another-Name");

    const auto other = table.Find(68, platform::Sha256Of("other"));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->threat, "Other");
    EXPECT_EQ(other->type, "Adware");
    // One threat's text serves both its definitions.
    EXPECT_EQ(table.Find(100, platform::Sha256Of("hundred"))->threat.data(),
              table.Find(5000, platform::Sha256Of("large"))->threat.data());
    EXPECT_EQ(table.Find(std::uint64_t{1} << 40, platform::Sha256Of("huge"))->threat, "Huge");
    // The right hash at the wrong size, and the wrong hash at the right one.
    EXPECT_FALSE(table.Find(100, platform::Sha256Of("large")));
    EXPECT_FALSE(table.Find(68, platform::Sha256Of("unknown")));

    table.Clear();
    EXPECT_FALSE(table.HasSize(68));
}

TEST(ContentDefinitionsTest, EveryThreatKeepsItsOwnTypePastTheNumberedOnes) {
    // Types are kept as numbers up to a bound; those past it, with the name.
    ContentTable table;
    for (int i = 0; i < 300; ++i) {
        const std::string n = std::to_string(i);
        ASSERT_TRUE(table.Add(*ParseContentDefinition(Line(10 + i % 3, n, "Shared|Type" + n))));
    }
    table.Finish();
    for (int i = 0; i < 300; ++i) {
        const std::string n = std::to_string(i);
        const auto match = table.Find(10 + i % 3, platform::Sha256Of(n));
        ASSERT_TRUE(match) << i;
        EXPECT_EQ(match->threat, "Shared");
        EXPECT_EQ(match->type, "Type" + n);
    }
}

}  // namespace
}  // namespace bastion
