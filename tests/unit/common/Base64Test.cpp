#include "common/Base64.h"

#include <gtest/gtest.h>

namespace bastion {
namespace {

TEST(Base64, RoundTripsEveryLengthAndRejectsWhatIsNotWhole) {
    std::string bytes;
    for (int i = 0; i < 70; ++i) {
        EXPECT_EQ(Base64Decode(Base64Encode(bytes)), bytes) << i;
        bytes += static_cast<char>(i * 37);
    }
    EXPECT_EQ(Base64Encode("Ma"), "TWE=");
    EXPECT_EQ(Base64Decode("TWFu"), "Man");
    for (const char* broken : {"TWE", "TW=E", "TQ==TWFu", "TW E", "T===", "TWF-", "===="}) {
        EXPECT_FALSE(Base64Decode(broken)) << broken;
    }
}

}  // namespace
}  // namespace bastion
