#include <gtest/gtest.h>

#include "definitions/DefinitionCodec.h"

namespace bastion {
namespace {

std::string Byte(int code) { return std::string(1, static_cast<char>(code)); }
int Code(const std::string& text) { return static_cast<unsigned char>(text.at(0)); }

TEST(DefinitionCodec, EveryCodeBelow255ComesBackAsItWent) {
    for (int code = 0; code < 255; ++code) {
        EXPECT_EQ(Code(DecodeDefinitionText(EncodeDefinitionText(Byte(code)))), code) << code;
    }
}

TEST(DefinitionCodec, TheShiftIsModulo255) {
    EXPECT_EQ(Code(EncodeDefinitionText(Byte(0))), 64);
    EXPECT_EQ(Code(EncodeDefinitionText(Byte(255))), 64);  // as 0 does
    EXPECT_EQ(Code(DecodeDefinitionText(EncodeDefinitionText(Byte(255)))), 0);
    // The seam: 191 is the last code that moves up, 192 the first that wraps.
    EXPECT_EQ(Code(EncodeDefinitionText(Byte(191))), 255);
    EXPECT_EQ(Code(EncodeDefinitionText(Byte(192))), 1);
    EXPECT_EQ(Code(DecodeDefinitionText(Byte(1))), 192);
    EXPECT_EQ(Code(DecodeDefinitionText(Byte(0))), 191);
}

TEST(DefinitionCodec, OnlyTwoCodesEncodeToALineEnd) {
    for (int code = 0; code < 256; ++code) {
        int encoded = Code(EncodeDefinitionText(Byte(code)));
        if (code == 201) EXPECT_EQ(encoded, 10);
        else if (code == 204) EXPECT_EQ(encoded, 13);
        else EXPECT_TRUE(encoded != 10 && encoded != 13) << code;
    }
}

TEST(DefinitionCodec, WorksOnWholeLines) {
    std::string line = "SPYWARE.EXE=Some Threat|[windir]system32|TYPE";
    std::string encoded = EncodeDefinitionText(line);
    EXPECT_NE(encoded, line);
    EXPECT_EQ(encoded.size(), line.size());
    EXPECT_EQ(DecodeDefinitionText(encoded), line);
    EXPECT_EQ(EncodeDefinitionText(""), "");
}

}  // namespace
}  // namespace bastion
