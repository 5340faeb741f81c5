#include "common/CodePage.h"

#include <array>

#include "common/Utf.h"

namespace bastion {

namespace {

constexpr unsigned kWindows1252Id = 1252;
constexpr unsigned kLatin1Id = 28591;
constexpr unsigned kUtf8Id = 65001;

// Characters of bytes 0x80-0x9F in Windows-1252. The five bytes the code page
// leaves undefined map to the C1 control of the same value, so every byte
// survives a round trip through UTF-8.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Single-byte code page described by the characters of its bytes 0x80-0xFF
// beyond ISO-8859-1 (bytes below 0x80 are ASCII, bytes 0xA0-0xFF Latin-1).
class SingleByteCodePage final : public CodePage {
public:
    SingleByteCodePage(unsigned id, const std::array<char32_t, 32>* highTable)
        : id_(id), highTable_(highTable) {}

    unsigned Id() const override { return id_; }

    std::string ToUtf8(std::string_view bytes) const override {
        std::string out;
        out.reserve(bytes.size());
        for (char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                out += c;
            } else if (highTable_ != nullptr && byte < 0xA0) {
                AppendUtf8(out, (*highTable_)[byte - 0x80]);
            } else {
                AppendUtf8(out, byte);
            }
        }
        return out;
    }

    std::string FromUtf8(std::string_view text) const override {
        std::string out;
        out.reserve(text.size());
        std::size_t pos = 0;
        char32_t cp = 0;
        while (NextCodePoint(text, pos, cp)) out += ToByte(cp);
        return out;
    }

private:
    char ToByte(char32_t cp) const {
        if (cp < 0x80) return static_cast<char>(cp);
        if (highTable_ == nullptr) return cp <= 0xFF ? static_cast<char>(cp) : '?';
        if (cp >= 0xA0 && cp <= 0xFF) return static_cast<char>(cp);
        for (std::size_t i = 0; i < highTable_->size(); ++i) {
            if ((*highTable_)[i] == cp) return static_cast<char>(0x80 + i);
        }
        return '?';
    }

    unsigned id_;
    const std::array<char32_t, 32>* highTable_;
};

// UTF-8 on both sides: the bytes pass through, except that invalid sequences
// become U+FFFD so that what leaves is always valid UTF-8.
class Utf8CodePage final : public CodePage {
public:
    unsigned Id() const override { return kUtf8Id; }
    std::string ToUtf8(std::string_view bytes) const override { return Sanitize(bytes); }
    std::string FromUtf8(std::string_view text) const override { return Sanitize(text); }

private:
    static std::string Sanitize(std::string_view text) {
        std::string out;
        out.reserve(text.size());
        std::size_t pos = 0;
        char32_t cp = 0;
        while (pos < text.size()) {
            const std::size_t start = pos;
            NextCodePoint(text, pos, cp);
            if (cp == 0xFFFD) {
                AppendUtf8(out, cp);
            } else {
                out.append(text.substr(start, pos - start));
            }
        }
        return out;
    }
};

}  // namespace

const CodePage& Windows1252() {
    static const SingleByteCodePage instance(kWindows1252Id, &kWindows1252High);
    return instance;
}

std::unique_ptr<CodePage> MakePortableCodePage(unsigned id) {
    switch (id) {
        case kWindows1252Id:
            return std::make_unique<SingleByteCodePage>(kWindows1252Id, &kWindows1252High);
        case kLatin1Id:
            return std::make_unique<SingleByteCodePage>(kLatin1Id, nullptr);
        case kUtf8Id:
            return std::make_unique<Utf8CodePage>();
        default:
            return nullptr;
    }
}

}  // namespace bastion
