// UTF-8 text of the interfaces to the UTF-16 text of the W functions and
// back, and the path forms those functions need.
#pragma once

#include <string>
#include <string_view>

namespace bastion::win32 {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);
// Text up to the first NUL of a fixed-size buffer that the system filled.
std::string NarrowUntilNul(const wchar_t* text, std::size_t capacity);

// A path's separator, as the W functions take either.
constexpr bool IsPathSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Paths no longer than this many characters work in every W function;
// CreateDirectory leaves room for an 8.3 name below MAX_PATH.
inline constexpr std::size_t kShortPathLimit = 260 - 12;

// The path as the W functions should receive it: a longer absolute drive or
// UNC path in its "\\?\" form (normalised first, since that form takes the
// path literally), a drive path holding a name that ends with a dot or a
// blank in that form as it stands (NeedsLiteralForm), anything else
// unchanged.
std::wstring SystemPath(std::string_view path);
std::wstring SystemPath(std::wstring path);

// True for a drive path ("C:\...", backslashes only, no "." or ".." part)
// with a name that ends in a dot or a blank: only its "\\?\" form reaches
// that very item.
bool NeedsLiteralForm(const std::wstring& path);

// The absolute form of a path (".." and "." resolved, "/" turned into "\");
// the path itself when the system cannot resolve it.
std::wstring FullPath(const std::wstring& path);

// The path with every short 8.3 name in it ("PROGRA~1") in its long form;
// the path itself when it does not exist or the system cannot tell.
std::wstring LongPath(const std::wstring& path);

}  // namespace bastion::win32
