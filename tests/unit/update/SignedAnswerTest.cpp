// The signed wrapper read as the server writes it, and what a client with
// and without the vendor's key makes of an answer.
#include "update/SignedAnswer.h"

#include <gtest/gtest.h>

#include "common/Base64.h"
#include "support/FakeCrypto.h"

namespace bastion {
namespace {

using testing::FakeCrypto;

std::string Signed(const std::string& part, const std::string& key) {
    return part + "[BR]SIGNATURE|" + Base64Encode(FakeCrypto::Sign(key, part));
}

TEST(SignedAnswer, TheHeaderAndTheSignatureAreReadStrictly) {
    const std::string key = FakeCrypto::Key(3);
    const std::optional<DeltaHeader> header = ParseDeltaHeader("DELTA|3/16/2006|4/1/2010 2:00:00 PM|2[BR]a[BR]b");
    ASSERT_TRUE(header);
    EXPECT_EQ(header->from, "3/16/2006");
    EXPECT_EQ(header->to, "4/1/2010 2:00:00 PM");
    EXPECT_EQ(header->count, 2u);
    EXPECT_EQ(header->records, "a[BR]b");
    for (const char* broken : {"DELTA|a|b|1", "DELTA|a|b[BR]", "DELTA|a|b|c|1[BR]", "DELTA|a|b|-1[BR]",
                               "DELTA|a|b|two[BR]", "delta|a|b|1[BR]", "FILE|ADD[DEF]x"}) {
        EXPECT_FALSE(ParseDeltaHeader(broken)) << broken;
    }
    // The last signature record is the signature; one that is not 64
    // bytes of base64 is none.
    const std::string answer = Signed("x[BR]SIGNATURE|AAAA", key);
    ASSERT_TRUE(SplitSignedAnswer(answer));
    EXPECT_EQ(SplitSignedAnswer(answer)->signedPart, "x[BR]SIGNATURE|AAAA");
    for (const std::string& broken : {std::string("x[BR]SIGNATURE|"), std::string("x[BR]SIGNATURE|AAAA"),
                                      "x[BR]SIGNATURE|" + Base64Encode(std::string(63, 'a')),
                                      "x[BR]SIGNATURE|" + Base64Encode(std::string(64, 'a')) + "!", std::string("x")}) {
        EXPECT_FALSE(SplitSignedAnswer(broken)) << broken;
    }
}

TEST(SignedAnswer, AKeyTakesOnlyWhatItSignedAndNoKeyDropsTheSignature) {
    FakeCrypto crypto;
    const std::string key = FakeCrypto::Key(3);
    const std::string file = "<LANGUAGE_GROUP>...</LANGUAGE_GROUP>\r\n";
    const DefinitionTrust keyed{&crypto, key};
    EXPECT_EQ(TrustedAnswer(keyed, Signed(file, key)), file);
    EXPECT_FALSE(TrustedAnswer(keyed, file));
    EXPECT_FALSE(TrustedAnswer(keyed, Signed(file, FakeCrypto::Key(4))));
    EXPECT_FALSE(TrustedAnswer(DefinitionTrust{nullptr, key}, Signed(file, key)));
    EXPECT_EQ(TrustedAnswer({}, Signed(file, FakeCrypto::Key(4))), file);
    EXPECT_EQ(TrustedAnswer({}, file), file);
}

}  // namespace
}  // namespace bastion
