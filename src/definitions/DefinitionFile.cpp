#include "definitions/DefinitionFile.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "definitions/DefinitionCodec.h"

namespace bastion {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Decodes the bytes in place (DecodeDefinitionText); true when every
// decoded byte is plain ASCII.
bool DecodeInPlace(char* bytes, std::size_t size) {
    unsigned high = 0;
    for (std::size_t i = 0; i < size; ++i) {
        int code = static_cast<unsigned char>(bytes[i]) - 64;
        if (code < 0) code += 255;
        bytes[i] = static_cast<char>(code);
        high |= static_cast<unsigned>(code);
    }
    return (high & 0x80) == 0;
}

std::size_t CountLines(std::string_view bytes) {
    if (bytes.empty()) return 0;
    std::size_t ends = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++ends;
        } else if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) {
            ++ends;
        }
    }
    const char last = bytes.back();
    return ends + (last == '\n' || last == '\r' ? 0 : 1);
}

}  // namespace

bool DefinitionLines::Read(platform::FileSystem& files, const std::string& path) {
    bytes_.clear();
    at_ = 0;
    lines_ = 0;
    std::unique_ptr<platform::FileReader> reader = files.OpenForRead(path);
    if (!reader) return false;
    // Read straight into the text, to the size the file has now and on to
    // its end should it have grown meanwhile.
    const std::optional<std::uint64_t> size = files.FileSize(path);
    bytes_.resize(static_cast<std::size_t>(size.value_or(0)));
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes_.size()) bytes_.resize(filled + kChunk);
        const std::size_t read = reader->Read(bytes_.data() + filled, bytes_.size() - filled);
        if (read == 0) break;
        filled += read;
    }
    bytes_.resize(filled);
    lines_ = CountLines(bytes_);
    return true;
}

bool DefinitionLines::Next(const CodePage& codePage, std::string_view& line) {
    if (at_ >= bytes_.size()) return false;
    const std::size_t start = at_;
    std::size_t end = start;
    while (end < bytes_.size() && bytes_[end] != '\n' && bytes_[end] != '\r') ++end;
    at_ = end;
    if (at_ < bytes_.size()) {
        at_ += bytes_[at_] == '\r' && at_ + 1 < bytes_.size() && bytes_[at_ + 1] == '\n' ? 2 : 1;
    }
    char* bytes = bytes_.data() + start;
    const std::size_t length = end - start;
    if (DecodeInPlace(bytes, length)) {
        line = std::string_view(bytes, length);
    } else {
        converted_ = codePage.ToUtf8(std::string_view(bytes, length));
        line = converted_;
    }
    return true;
}

bool ReadDefinitionLines(platform::FileSystem& files, const CodePage& codePage, const std::string& path,
                         const std::function<bool(const std::string& line)>& onLine) {
    DefinitionLines lines;
    if (!lines.Read(files, path)) return false;
    std::string text;
    std::string_view line;
    while (lines.Next(codePage, line)) {
        text.assign(line);
        if (!onLine(text)) break;
    }
    return true;
}

std::string EncodeDefinitionLine(const CodePage& codePage, const std::string& line) {
    return EncodeDefinitionText(codePage.FromUtf8(line));
}

}  // namespace bastion
