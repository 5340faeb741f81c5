#include "definitions/DefinitionFile.h"

#include <cstring>

#include "common/Lines.h"
#include "definitions/DefinitionCodec.h"

namespace bastion {

namespace {

// The size of the pieces the file is read in; a line longer than this
// grows the buffer.
constexpr std::size_t kPiece = 64 * 1024;

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

}  // namespace

bool DefinitionLines::Open(platform::FileSystem& files, const std::string& path) {
    reader_ = files.OpenForRead(path);
    buffer_.assign(kPiece, '\0');
    at_ = end_ = 0;
    ended_ = reader_ == nullptr;
    failed_ = false;
    return reader_ != nullptr;
}

bool DefinitionLines::Fill() {
    if (ended_) return false;
    std::memmove(buffer_.data(), buffer_.data() + at_, end_ - at_);
    end_ -= at_;
    at_ = 0;
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    const std::size_t read = reader_->Read(buffer_.data() + end_, buffer_.size() - end_);
    if (read == 0) {
        ended_ = true;
        failed_ = reader_->Failed();
        reader_.reset();
        return false;
    }
    end_ += read;
    return true;
}

bool DefinitionLines::Next(const CodePage& codePage, std::string_view& line) {
    std::size_t end = at_;
    for (;;) {
        end = FindLineEnd(std::string_view(buffer_.data(), end_), end);
        // A CR at the end of what was read may be the first half of CR LF.
        if (end + 1 < end_ || (end < end_ && buffer_[end] == '\n') || ended_) break;
        // Fill moves what is left to the front, whether or not more comes.
        const std::size_t scanned = end - at_;
        const bool more = Fill();
        end = at_ + scanned;
        if (!more) break;
    }
    if (at_ == end_) return false;
    const std::size_t start = at_;
    at_ = end;
    if (at_ < end_) at_ += buffer_[at_] == '\r' && at_ + 1 < end_ && buffer_[at_ + 1] == '\n' ? 2 : 1;
    char* const bytes = buffer_.data() + start;
    if (DecodeInPlace(bytes, end - start)) {
        line = std::string_view(bytes, end - start);
    } else {
        converted_ = codePage.ToUtf8(std::string_view(bytes, end - start));
        line = converted_;
    }
    return true;
}

bool ReadDefinitionLines(platform::FileSystem& files, const CodePage& codePage, const std::string& path,
                         const std::function<bool(const std::string& line)>& onLine) {
    DefinitionLines lines;
    if (!lines.Open(files, path)) return false;
    std::string text;
    std::string_view line;
    while (lines.Next(codePage, line)) {
        text.assign(line);
        if (!onLine(text)) break;
    }
    return !lines.Failed();
}

std::string EncodeDefinitionLine(const CodePage& codePage, const std::string& line) {
    return EncodeDefinitionText(codePage.FromUtf8(line));
}

}  // namespace bastion
