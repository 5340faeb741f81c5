// The signed wrapper read strictly, and what a program without the vendor's
// key makes of a signed answer (a keyed one is tried end to end).
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
    EXPECT_EQ(TrustedAnswer({}, answer), file);
    EXPECT_EQ(TrustedAnswer({}, file), file);
    testing::FakeCrypto crypto;
    EXPECT_FALSE(TrustedAnswer({&crypto, testing::FakeCrypto::Key(1)}, answer));
}

}  // namespace
}  // namespace bastion
