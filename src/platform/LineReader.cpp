#include "platform/LineReader.h"

namespace bastion::platform {

namespace {
constexpr std::size_t kChunkSize = 64 * 1024;
}

LineReader::LineReader(FileSystem& files, const std::string& path)
    : reader_(files.OpenForRead(path)), buffer_(kChunkSize) {}

bool LineReader::Fill() {
    if (ended_ || !reader_) return false;
    size_ = reader_->Read(buffer_.data(), buffer_.size());
    position_ = 0;
    if (size_ == 0) ended_ = true;
    return size_ > 0;
}

bool LineReader::Next(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        if (position_ >= size_ && !Fill()) return any;
        any = true;
        while (position_ < size_) {
            char c = buffer_[position_++];
            if (c == '\n') return true;
            if (c == '\r') {
                // A CR LF split across two chunks is still one line end.
                if (position_ >= size_) Fill();
                if (position_ < size_ && buffer_[position_] == '\n') ++position_;
                return true;
            }
            line.push_back(c);
        }
    }
}

}  // namespace bastion::platform
