// UTF-8 <-> UTF-16. Invalid input is replaced by U+FFFD, never dropped
// silently or read past its end.
#pragma once

#include <string>
#include <string_view>

namespace bastion {

// What stands for a character that could not be read (U+FFFD).
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// True when the text is well-formed UTF-8 throughout (ASCII is).
bool IsValidUtf8(std::string_view text);

// Iterates code points of UTF-8 text; returns false at the end.
bool NextCodePoint(std::string_view text, std::size_t& pos, char32_t& cp);
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace bastion
