// The definition date in "date.dat" and the date answers of the definition
// server.
#pragma once

#include <string>
#include <string_view>

#include "common/CodePage.h"
#include "platform/FileSystem.h"

namespace bastion {

// What the definition date reads as while "date.dat" is absent.
inline constexpr std::string_view kDefaultDefinitionDate = "3/16/2006 12:00:00 AM";

// The first line of "date.dat" in the data folder, or the default date when
// the file is missing or holds no line.
std::string ReadDefinitionDate(platform::FileSystem& files, const CodePage& codePage, std::string_view dataFolder);

// Replaces "date.dat" with the one line, in one step; false when it could
// not be written (the old date then stays).
bool WriteDefinitionDate(platform::FileSystem& files, const CodePage& codePage, std::string_view dataFolder,
                         const std::string& date);

// A date answer as the server sends it, made ready for parsing: blanks
// trimmed, tabs and line breaks removed, and anything after the first "PM"
// (or, without one, the first "AM"), in any case, cut off.
std::string CleanDateAnswer(std::string_view answer);

}  // namespace bastion
