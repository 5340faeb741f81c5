// Reading a definition file: every line decoded (the shift works on the
// stored code-page bytes) and then converted to text.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/CodePage.h"
#include "platform/FileSystem.h"

namespace bastion {

// The lines of a definition file, handed out one by one in one pass over
// its bytes: each is decoded where it lies in the read buffer and converted
// from the code page only when it holds more than plain ASCII, which every
// Windows code page stores as itself. Lines end as the line reader's do: at
// CR LF, a lone LF or a lone CR; a last line without a line end still
// counts.
//
// The file comes in pieces of a fixed size into one buffer that is used
// again and again: under Wine a page of memory the process touches for the
// first time costs more than reading it from the file, so a large buffer
// for the whole file would cost more than all the reads.
class DefinitionLines {
public:
    // False when the file does not exist or cannot be opened.
    bool Open(platform::FileSystem& files, const std::string& path);
    // The next line as text, valid until the next call; false at the end of
    // the file (or when a read fails: the lines before the failure have been
    // given).
    bool Next(const CodePage& codePage, std::string_view& line);
    // Whether a read failed: the lines given were not all the file holds.
    bool Failed() const { return failed_; }

private:
    // Keeps the bytes not yet handed out and reads more after them; false
    // when nothing more came.
    bool Fill();

    std::unique_ptr<platform::FileReader> reader_;
    std::string buffer_;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    bool failed_ = false;
    std::string converted_;
};

// Calls onLine for each decoded line in file order until it returns false.
// False when the file does not exist or cannot be opened, or a read failed
// before its end.
bool ReadDefinitionLines(platform::FileSystem& files, const CodePage& codePage, const std::string& path,
                         const std::function<bool(const std::string& line)>& onLine);

// Encodes a line of text for writing to a definition file (without its line
// end).
std::string EncodeDefinitionLine(const CodePage& codePage, const std::string& line);

}  // namespace bastion
