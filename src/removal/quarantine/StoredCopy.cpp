#include "removal/quarantine/StoredCopy.h"

#include <algorithm>
#include <string>

#include "platform/FolderHandles.h"

namespace bastion {

namespace {

constexpr char kKey = static_cast<char>(0xA5);

// Reads until the buffer is full or the file ends; how much came.
std::size_t ReadFull(platform::FileReader& reader, std::string& buffer) {
    std::size_t got = 0;
    while (got < buffer.size()) {
        const std::size_t read = reader.Read(buffer.data() + got, buffer.size() - got);
        if (read == 0) break;
        got += read;
    }
    return got;
}

// Bytes already read first, then the rest of inner; transformed when asked
// (the bytes already read are given as they are).
class ContinuedReader final : public platform::FileReader {
public:
    ContinuedReader(platform::FileReader& inner, std::string first, bool transform)
        : inner_(inner), first_(std::move(first)), transform_(transform) {}

    std::size_t Read(char* buffer, std::size_t size) override {
        if (given_ < first_.size()) {
            const std::size_t count = std::min(size, first_.size() - given_);
            std::copy_n(first_.data() + given_, count, buffer);
            given_ += count;
            return count;
        }
        const std::size_t read = inner_.Read(buffer, size);
        if (transform_) TransformStoredBytes(buffer, read);
        return read;
    }
    bool Failed() const override { return inner_.Failed(); }

private:
    platform::FileReader& inner_;
    const std::string first_;
    std::size_t given_ = 0;
    const bool transform_;
};

}  // namespace

void TransformStoredBytes(char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) bytes[i] ^= kKey;
}

std::optional<std::uint64_t> StoreTransformed(platform::FileReader& from, platform::FileWriter& to) {
    if (!to.Write(kStoredCopyHeader.data(), kStoredCopyHeader.size())) return std::nullopt;
    ContinuedReader transformed(from, {}, true);
    return platform::CopyBytes(transformed, to);
}

std::unique_ptr<platform::FileReader> OriginalBytes(platform::FileReader& stored, std::uint64_t storedSize,
                                                    std::uint64_t& originalSize) {
    std::string start(kStoredCopyHeader.size(), '\0');
    start.resize(ReadFull(stored, start));
    if (start == kStoredCopyHeader) {
        originalSize = storedSize - kStoredCopyHeader.size();
        return std::make_unique<ContinuedReader>(stored, std::string(), true);
    }
    originalSize = storedSize;
    return std::make_unique<ContinuedReader>(stored, std::move(start), false);
}

}  // namespace bastion
