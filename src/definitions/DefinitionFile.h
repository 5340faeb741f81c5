// Reading a definition file: every line decoded (the shift works on the
// stored code-page bytes) and then converted to text.
#pragma once

#include <functional>
#include <string>

#include "common/CodePage.h"
#include "platform/FileSystem.h"

namespace bastion {

// Calls onLine for each decoded line in file order until it returns false.
// False when the file does not exist or cannot be opened.
bool ReadDefinitionLines(platform::FileSystem& files, const CodePage& codePage, const std::string& path,
                         const std::function<bool(const std::string& line)>& onLine);

// Encodes a line of text for writing to a definition file (without its line
// end).
std::string EncodeDefinitionLine(const CodePage& codePage, const std::string& line);

}  // namespace bastion
