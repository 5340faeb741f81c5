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

// Each line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace bastion
