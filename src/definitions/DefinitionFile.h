// Reading a definition file: every line decoded (the shift works on the
// stored code-page bytes) and then converted to text.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/CodePage.h"
#include "platform/FileSystem.h"

namespace bastion {

// A definition file read whole, in one read, and handed out line by line:
// each line is decoded in place as it is reached and converted from the
// code page only when it holds more than plain ASCII, which every code page
// stores as itself. Lines end as the line reader's do: at CR LF, a lone LF
// or a lone CR; a last line without a line end still counts.
class DefinitionLines {
public:
    // False when the file does not exist or cannot be opened; a read that
    // fails part way keeps the lines read before it.
    bool Read(platform::FileSystem& files, const std::string& path);
    // The next line as text, valid until the next call; false at the end.
    bool Next(const CodePage& codePage, std::string_view& line);
    // The bytes read, and the lines they hold.
    std::size_t Bytes() const { return bytes_.size(); }
    std::size_t LineCount() const { return lines_; }

private:
    std::string bytes_;
    std::size_t at_ = 0;
    std::size_t lines_ = 0;
    std::string converted_;
};

// Calls onLine for each decoded line in file order until it returns false.
// False when the file does not exist or cannot be opened.
bool ReadDefinitionLines(platform::FileSystem& files, const CodePage& codePage, const std::string& path,
                         const std::function<bool(const std::string& line)>& onLine);

// Encodes a line of text for writing to a definition file (without its line
// end).
std::string EncodeDefinitionLine(const CodePage& codePage, const std::string& line);

}  // namespace bastion
