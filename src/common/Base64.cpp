#include "common/Base64.h"

#include <cstdint>

namespace bastion {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        std::uint32_t group = static_cast<std::uint8_t>(bytes[i]) << 16;
        if (left > 1) group |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
        if (left > 2) group |= static_cast<std::uint8_t>(bytes[i + 2]);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        out += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return out;
}

std::optional<std::string> Base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const int padding = (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=');
        if (padding > 0 && !last) return std::nullopt;
        std::uint32_t group = 0;
        for (int k = 0; k < 4; ++k) {
            const int value = k >= 4 - padding ? 0 : Value(text[i + k]);
            if (value < 0) return std::nullopt;
            group = (group << 6) | static_cast<std::uint32_t>(value);
        }
        out += static_cast<char>((group >> 16) & 0xFF);
        if (padding < 2) out += static_cast<char>((group >> 8) & 0xFF);
        if (padding < 1) out += static_cast<char>(group & 0xFF);
    }
    return out;
}

}  // namespace bastion
