// Windows' own cryptography as the program uses it: SHA-256 by the known
// answers, and keys and signatures of the wrong shape refused before CNG
// sees them. A real signature of the reference server is checked by the
// update tests.
#include <gtest/gtest.h>

#include "platform/win32/Win32Crypto.h"

namespace bastion::win32 {
namespace {

std::string Hex(const platform::Sha256Digest& digest) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 15];
    }
    return text;
}

TEST(CryptoWineTest, HashesAsSha256AndRefusesMisshapenKeysAndSignatures) {
    Win32Crypto crypto;
    EXPECT_EQ(Hex(crypto.Sha256("").value()), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Hex(crypto.Sha256("abc").value()), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Hex(crypto.Sha256(std::string(1000000, 'a')).value()),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");

    const platform::Sha256Digest digest = crypto.Sha256("abc").value();
    const std::string key(65, '\x04');
    const std::string signature(64, '\x01');
    EXPECT_FALSE(crypto.VerifyP256(key.substr(0, 64), digest, signature));
    EXPECT_FALSE(crypto.VerifyP256(std::string(65, '\x02'), digest, signature));
    EXPECT_FALSE(crypto.VerifyP256(key, digest, signature.substr(1)));
    // Not a point of the curve: CNG refuses to import it.
    EXPECT_FALSE(crypto.VerifyP256(key, digest, signature));
}

}  // namespace
}  // namespace bastion::win32
