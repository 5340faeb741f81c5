// Line splitting as the program's text files are read: a line ends at CR LF,
// at a lone LF or at a lone CR; a final line without a line end still counts;
// a file that ends with a line end has no empty last line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bastion {

inline constexpr std::string_view kCrLf = "\r\n";

std::vector<std::string> SplitLines(std::string_view content);

// Where the line that runs on at from ends: the first CR or LF at or after
// from, or the end of the text. Eight bytes are looked at a time: definition
// files are read a hundred thousand lines in a row.
std::size_t FindLineEnd(std::string_view text, std::size_t from);

// Each line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace bastion
