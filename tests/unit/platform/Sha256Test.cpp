#include "platform/Sha256.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace bastion::platform {
namespace {

using Method = Sha256Hasher::Method;

std::string Hex(const Sha256Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint8_t byte : digest) hex += {kDigits[byte >> 4], kDigits[byte & 15]};
    return hex;
}

// Both forms, where the processor can run both: the extensions are tested
// wherever the tests run on one that has them (this build machine does).
std::vector<Method> Methods() {
    std::vector<Method> methods{Method::Portable};
    if (ProcessorHasShaExtensions()) methods.push_back(Method::ShaExtensions);
    return methods;
}

TEST(Sha256, GivesThePublishedDigestsWithEitherMethod) {
    // FIPS 180-2's examples, and the empty message.
    const std::vector<std::pair<std::string, std::string_view>> vectors{
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrst"
         "nopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1'000'000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (Method method : Methods()) {
        SCOPED_TRACE(static_cast<int>(method));
        EXPECT_EQ(Sha256Hasher(method).UsedMethod(), method);
        for (const auto& [message, digest] : vectors) EXPECT_EQ(Hex(Sha256Of(message, method)), digest);
    }
}

TEST(Sha256, TheExtensionsAgreeWithThePortableFormWhateverThePieces) {
    if (!ProcessorHasShaExtensions()) GTEST_SKIP() << "this processor has no SHA extensions";
    std::mt19937 random(20240501);
    for (int round = 0; round < 300; ++round) {
        // Lengths around the block and padding edges, and longer ones.
        const std::size_t length = round < 130 ? static_cast<std::size_t>(round) : random() % 20000;
        std::string bytes(length, '\0');
        for (char& byte : bytes) byte = static_cast<char>(random());
        Sha256Hasher pieces(Method::ShaExtensions);
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t piece = std::min<std::size_t>(bytes.size() - at, random() % 200);
            pieces.Add(bytes.data() + at, piece);
            at += piece;
        }
        ASSERT_EQ(Hex(pieces.Finish()), Hex(Sha256Of(bytes, Method::Portable))) << "length " << length;
    }
    // A finished hasher starts afresh.
    Sha256Hasher again(Method::ShaExtensions);
    again.Add("abc");
    again.Finish();
    again.Add("abc");
    EXPECT_EQ(Hex(again.Finish()), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
}  // namespace bastion::platform
