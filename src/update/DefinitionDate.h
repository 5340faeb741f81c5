// The definition date in "date.dat" (read by the status page's
// ReadDefinitionDate) and the date answers of the definition server.
#pragma once

#include <string>
#include <string_view>

#include "common/CodePage.h"
#include "platform/FileSystem.h"

namespace bastion {

// Replaces "date.dat" with the one line, in one step; false when it could
// not be written (the old date then stays).
bool WriteDefinitionDate(platform::FileSystem& files, const CodePage& codePage, std::string_view dataFolder,
                         const std::string& date);

// A date answer as the server sends it, made ready for parsing: blanks
// trimmed, tabs and line breaks removed, and anything after the first "PM"
// (or, without one, the first "AM"), in any case, cut off.
std::string CleanDateAnswer(std::string_view answer);

}  // namespace bastion
