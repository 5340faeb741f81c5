// Keeps offensive words out of the status line: file and folder names seen
// during a scan are shown there as they are met.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace bastion {

// The text with every listed word removed wherever it occurs, ignoring case,
// even inside a longer word.
std::string FilterStatusText(std::string_view text);

// The list, in the order the words are removed.
std::span<const std::string_view> FilteredWords();

}  // namespace bastion
