// Text files of CR LF lines over the FileSystem facility. Lines are returned
// and taken as the bytes stored (the system code page); callers convert.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace bastion::platform {

// Every line of the file (see SplitLines); nullopt when it cannot be read.
std::optional<std::vector<std::string>> ReadLines(FileSystem& files, const std::string& path);

// Appends the line and CR LF, creating the file when absent. A file whose
// last line has no line end (saved so by an editor) gets one first, so the
// new line never joins the last one. Every line file the program appends to
// goes through this.
bool AppendLine(FileSystem& files, const std::string& path, const std::string& line);

// Writes the whole file to a temporary file beside it and renames that over
// the original in one step: a failure leaves the old content or the new,
// never neither.
bool WriteFileReplacing(FileSystem& files, const std::string& path, const std::string& bytes);
bool WriteLinesReplacing(FileSystem& files, const std::string& path, const std::vector<std::string>& lines);

}  // namespace bastion::platform
