#include "common/PackedText.h"

#include "common/Text.h"

namespace bastion {

char* WritePackedNumber(char* out, std::uint64_t number) {
    while (number >= 0x80) {
        *out++ = static_cast<char>((number & 0x7F) | 0x80);
        number >>= 7;
    }
    *out++ = static_cast<char>(number);
    return out;
}

char* WritePackedText(char* out, std::string_view text) {
    out = WritePackedNumber(out, text.size());
    CopyBytes(out, text.data(), text.size());
    return out + text.size();
}

void AppendPackedNumber(std::string& out, std::uint64_t number) {
    char bytes[10];
    out.append(bytes, WritePackedNumber(bytes, number));
}

std::uint64_t ReadPackedNumber(std::string_view packed, std::size_t& at) {
    std::uint64_t number = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(packed[at++]);
        number |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if (byte < 0x80) return number;
    }
}

void AppendPackedText(std::string& out, std::string_view text) {
    AppendPackedNumber(out, text.size());
    out.append(text);
}

std::string_view ReadPackedText(std::string_view packed, std::size_t& at) {
    const auto length = static_cast<std::size_t>(ReadPackedNumber(packed, at));
    const std::string_view text = packed.substr(at, length);
    at += length;
    return text;
}

}  // namespace bastion
