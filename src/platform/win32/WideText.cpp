#include "platform/win32/WideText.h"

#include <vector>

#include "common/Utf.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

// wchar_t is UTF-16 on Windows: the two string types hold the same units.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Widen(std::string_view text) {
    std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size());
}

std::string Narrow(std::wstring_view text) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

std::string NarrowUntilNul(const wchar_t* text, std::size_t capacity) {
    std::size_t length = 0;
    while (length < capacity && text[length] != L'\0') {
        ++length;
    }
    return Narrow(std::wstring_view(text, length));
}

namespace {

bool IsDriveAbsolute(const std::wstring& path) {
    return path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
           path[1] == L':' && IsPathSeparator(path[2]);
}

bool IsUnc(const std::wstring& path) {
    return path.size() >= 3 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && !IsPathSeparator(path[2]) &&
           path[2] != L'?' && path[2] != L'.';
}

bool IsExtendedAlready(const std::wstring& path) {
    return path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0;
}

// A name that ends with a dot or a blank ("evil.exe ", made through a
// "\\?\" path), which the ordinary path form would cut off and so reach
// another file. "." and ".." are no such names.
bool HoldsNameTheSystemWouldTrim(const std::wstring& path) {
    bool dotsOnly = true;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsPathSeparator(path[i])) {
            const wchar_t last = i > 0 ? path[i - 1] : L'\\';
            if (!dotsOnly && (last == L'.' || last == L' ')) return true;
            dotsOnly = true;
        } else if (path[i] != L'.') {
            dotsOnly = false;
        }
    }
    return false;
}

bool HoldsDotSegment(const std::wstring& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsPathSeparator(path[i])) {
            const std::wstring_view part(path.data() + start, i - start);
            if (part == L"." || part == L"..") return true;
            start = i + 1;
        }
    }
    return false;
}

}  // namespace

bool NeedsLiteralForm(const std::wstring& path) {
    return IsDriveAbsolute(path) && path.find(L'/') == std::wstring::npos && HoldsNameTheSystemWouldTrim(path) &&
           !HoldsDotSegment(path);
}

std::wstring SystemPath(std::wstring path) {
    if (NeedsLiteralForm(path)) {
        return L"\\\\?\\" + path;
    }
    if (path.size() <= kShortPathLimit || IsExtendedAlready(path)) {
        return path;
    }
    if (IsDriveAbsolute(path)) {
        return L"\\\\?\\" + FullPath(path);
    }
    if (IsUnc(path)) {
        std::wstring full = FullPath(path);
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return path;
}

std::wstring SystemPath(std::string_view path) { return SystemPath(Widen(path)); }

std::wstring FullPath(const std::wstring& path) {
    DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path;
    }
    std::vector<wchar_t> buffer(needed);
    DWORD written = ::GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
    if (written == 0 || written >= needed) {
        return path;
    }
    return std::wstring(buffer.data(), written);
}

std::wstring LongPath(const std::wstring& path) {
    DWORD needed = ::GetLongPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) {
        return path;
    }
    std::vector<wchar_t> buffer(needed);
    DWORD written = ::GetLongPathNameW(path.c_str(), buffer.data(), needed);
    if (written == 0 || written >= needed) {
        return path;
    }
    return std::wstring(buffer.data(), written);
}

}  // namespace bastion::win32
