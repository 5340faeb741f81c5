#include "common/Utf.h"

namespace bastion {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

// An invalid sequence is replaced by one U+FFFD for its longest prefix that
// could have started a valid sequence (the practice Unicode recommends), so a
// truncated character costs one replacement and the next character survives.
bool NextCodePoint(std::string_view text, std::size_t& pos, char32_t& cp) {
    if (pos >= text.size()) return false;
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        cp = lead;
        ++pos;
        return true;
    }

    int length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0) secondLow = 0xA0;   // overlong
        if (lead == 0xED) secondHigh = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0) secondLow = 0x90;   // overlong
        if (lead == 0xF4) secondHigh = 0x8F;  // beyond U+10FFFF
    } else {
        cp = kReplacementCharacter;
        ++pos;
        return true;
    }

    std::size_t next = pos + 1;
    for (int i = 1; i < length; ++i, ++next) {
        if (next >= text.size()) break;
        const auto byte = static_cast<unsigned char>(text[next]);
        const bool fits = i == 1 ? (byte >= secondLow && byte <= secondHigh) : IsContinuation(byte);
        if (!fits) break;
        value = (value << 6) | (byte & 0x3F);
        if (i == length - 1) {
            cp = value;
            pos = next + 1;
            return true;
        }
    }
    cp = kReplacementCharacter;
    pos = next;
    return true;
}

bool IsValidUtf8(std::string_view text) {
    constexpr std::string_view kEncodedReplacement = "\xEF\xBF\xBD";
    std::size_t pos = 0;
    char32_t cp = 0;
    for (std::size_t start = 0; NextCodePoint(text, pos, cp); start = pos) {
        // A replacement character that was not written as one stands for
        // bytes that are no UTF-8.
        if (cp == kReplacementCharacter && text.substr(start, pos - start) != kEncodedReplacement) return false;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacementCharacter;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    char32_t cp = 0;
    while (NextCodePoint(text, pos, cp)) {
        if (cp < 0x10000) {
            out += static_cast<char16_t>(cp);
        } else {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 | (cp >> 10));
            out += static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            const char32_t cp = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            AppendUtf8(out, cp);
            ++i;
        } else {
            // A lone surrogate becomes U+FFFD in AppendUtf8.
            AppendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace bastion
