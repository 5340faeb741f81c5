// The signed wrapper and its kinds read strictly, and what a program without
// the vendor's key makes of a signed answer (a keyed one is tried end to
// end).
#include "update/SignedAnswer.h"

#include <gtest/gtest.h>

#include "common/Base64.h"
#include "support/FakeCrypto.h"

namespace bastion {
namespace {

TEST(SignedAnswer, HeaderAndSignatureAreReadStrictlyAndWithoutAKeyTheSignatureIsDropped) {
    const std::optional<DeltaHeader> header = ParseDeltaHeader("DELTA|3/16/2006|4/1/2010 2:00:00 PM|2[BR]a[BR]b");
    ASSERT_TRUE(header);
    EXPECT_EQ(header->to, "4/1/2010 2:00:00 PM");
    EXPECT_EQ(header->records, "a[BR]b");
    for (const char* broken : {"DELTA|a|b|1", "DELTA|a|b[BR]", "DELTA|a|b|c|1[BR]", "DELTA|a|b|-1[BR]",
                               "DELTA|a|b|two[BR]", "delta|a|b|1[BR]"}) {
        EXPECT_FALSE(ParseDeltaHeader(broken)) << broken;
    }
    const std::string signature = Base64Encode(std::string(64, 'a'));
    for (const std::string& broken : {"x[BR]SIGNATURE|" + Base64Encode(std::string(63, 'a')),
                                      "x[BR]SIGNATURE|" + signature + "!", std::string("x[BR]SIGNATURE|")}) {
        EXPECT_FALSE(SplitSignedAnswer(broken)) << broken;
    }
    // The last signature record is the signature.
    const std::string file = "<LANGUAGE_GROUP>[BR]SIGNATURE|AAAA</LANGUAGE_GROUP>\r\n";
    const std::string answer = file + "[BR]SIGNATURE|" + signature + "\r\n";
    EXPECT_EQ(SplitSignedAnswer(answer)->signedPart, file);
    EXPECT_EQ(TrustedLanguageFile({}, answer, 7), file);
    EXPECT_EQ(TrustedLanguageFile({}, file, 7), file);
    EXPECT_EQ(TrustedLanguageFile({}, "LANGUAGE|7|" + answer, 7), file);
    testing::FakeCrypto crypto;
    EXPECT_FALSE(TrustedLanguageFile({&crypto, testing::FakeCrypto::Key(1)}, answer, 7));
}

TEST(SignedAnswer, AKeyedProgramTakesEachSignedTextOnlyAsTheKindItSays) {
    testing::FakeCrypto crypto;
    const std::string key = testing::FakeCrypto::Key(1);
    const DefinitionTrust trust{&crypto, key};
    auto sign = [&](const std::string& text) {
        return text + "[BR]SIGNATURE|" + Base64Encode(testing::FakeCrypto::Sign(key, text));
    };
    const std::string file = "<LANGUAGE_GROUP>x</LANGUAGE_GROUP>";
    EXPECT_EQ(TrustedLanguageFile(trust, sign("LANGUAGE|7|" + file), 7), file);
    for (const std::string& other : {sign(file), sign("LANGUAGE|8|" + file), sign("LANGUAGE|77|" + file),
                                     sign("DELTA|3/16/2006|4/1/2010|0[BR]")}) {
        EXPECT_FALSE(TrustedLanguageFile(trust, other, 7)) << other;
    }
    const std::optional<ServerDate> date = VerifyDateAnswer(crypto, key, sign("DATE|4/1/2010 2:00:00 PM|2010-04-01T21:00:05Z"));
    ASSERT_TRUE(date);
    EXPECT_EQ(date->date, (DateTime{2010, 4, 1, 14, 0, 0}));
    EXPECT_EQ(date->issued, (DateTime{2010, 4, 1, 21, 0, 5}));
    for (const std::string& text : {std::string("4/1/2010"), std::string("DATE|4/1/2010"), std::string("DATE|x|2010-04-01T21:00:05Z"),
                                    std::string("LANGUAGE|7|DATE|4/1/2010|2010-04-01T21:00:05Z"),
                                    std::string("DATE|4/1/2010|2010-04-01T21:00:05Z|more")}) {
        EXPECT_FALSE(VerifyDateAnswer(crypto, key, sign(text))) << text;
    }
    // A program without a key reads the old plain form and the new one.
    EXPECT_EQ(ReadDateAnswer(" 4/1/2010 2:00:00 PM<br>\r\n")->date, (DateTime{2010, 4, 1, 14, 0, 0}));
    EXPECT_EQ(ReadDateAnswer(sign("DATE|4/1/2010|2010-04-01T21:00:05Z"))->date, (DateTime{2010, 4, 1, 0, 0, 0}));
    EXPECT_FALSE(ReadDateAnswer("<html>error</html>"));
}

TEST(SignedAnswer, ADateAnswerIsFreshForAWeekAndADayAheadInUniversalTime) {
    const DateTime now{2024, 5, 8, 12, 0, 0};
    const std::pair<const char*, bool> issued[] = {
        {"2024-05-08T12:00:00Z", true},  {"2024-05-01T12:00:00Z", true}, {"2024-05-01T11:59:59Z", false},
        {"2024-05-09T12:00:00Z", true},  {"2024-05-09T12:00:01Z", false},
    };
    for (const auto& [text, fresh] : issued) {
        const std::optional<DateTime> time = ParseUtcTime(text);
        ASSERT_TRUE(time) << text;
        EXPECT_EQ(FormatUtcTime(*time), text);
        EXPECT_EQ(IssuedRecently(*time, now), fresh) << text;
    }
    for (const char* broken : {"2024-05-08T12:00:00", "2024-05-08 12:00:00Z", "2024-13-08T12:00:00Z",
                               "2024-02-30T12:00:00Z", "24-05-08T12:00:00Z", "2024-05-08T12:00:0xZ"}) {
        EXPECT_FALSE(ParseUtcTime(broken)) << broken;
    }
}

}  // namespace
}  // namespace bastion
