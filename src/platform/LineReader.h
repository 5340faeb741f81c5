// Reads a text file one line at a time over the FileSystem facility, in
// chunks, so a large file never sits in memory whole. Lines end as
// SplitLines says: at CR LF, a lone LF or a lone CR; a last line without a
// line end still counts. Lines are the bytes stored; callers convert.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bastion::platform {

class LineReader {
public:
    LineReader(FileSystem& files, const std::string& path);

    // False when the file could not be opened.
    bool Opened() const { return reader_ != nullptr; }
    // The next line; false at the end of the file (or when a read fails:
    // the lines before the failure have been given).
    bool Next(std::string& line);

private:
    bool Fill();

    std::unique_ptr<FileReader> reader_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t size_ = 0;
    bool ended_ = false;
};

}  // namespace bastion::platform
