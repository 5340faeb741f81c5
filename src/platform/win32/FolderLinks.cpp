#include "platform/win32/FolderLinks.h"

#include <vector>

#include "platform/FolderLinkData.h"
#include "platform/win32/FileAccess.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
// After <windows.h>, which it builds on.
#include <winioctl.h>

namespace bastion::win32 {

namespace {

// MAXIMUM_REPARSE_DATA_BUFFER_SIZE.
constexpr DWORD kMaxReparseData = 16 * 1024;
// SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE: in developer mode a user
// without the privilege may make one too.
constexpr DWORD kUnprivilegedSymbolicLink = 0x2;

// The item itself, a link not followed.
UniqueHandle OpenItself(const std::wstring& path, DWORD access) {
    return UniqueHandle(::CreateFileW(SystemPath(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// "\\?\C:\x" is "C:\x" and "\\?\UNC\server\share" is "\\server\share".
std::wstring WithoutExtendedPrefix(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0 && path.size() >= 6 && path[5] == L':') return path.substr(4);
    return path;
}

}  // namespace

std::optional<std::wstring> FinalPathOfHandle(HANDLE handle) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return WithoutExtendedPrefix(std::wstring(buffer.data(), length));
        buffer.resize(length + 1);
    }
    return std::nullopt;
}

std::optional<platform::FolderLink> ReadFolderLinkAt(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(SystemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return std::nullopt;
    }
    UniqueHandle link = OpenItself(path, FILE_READ_ATTRIBUTES);
    if (!link) return std::nullopt;
    std::string data(kMaxReparseData, '\0');
    DWORD returned = 0;
    if (!::DeviceIoControl(link.Get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(),
                           static_cast<DWORD>(data.size()), &returned, nullptr)) {
        return std::nullopt;
    }
    data.resize(returned);
    return platform::DecodeFolderLinkData(data);
}

bool MakeFolderLinkAt(const std::wstring& path, const platform::FolderLink& link) {
    if (link.kind == platform::FolderLinkKind::SymbolicLink) {
        ::CreateSymbolicLinkW(SystemPath(path).c_str(), Widen(link.target).c_str(),
                              SYMBOLIC_LINK_FLAG_DIRECTORY | kUnprivilegedSymbolicLink);
    } else {
        std::optional<std::string> data = platform::EncodeJunctionData(link);
        if (!data || !::CreateDirectoryW(SystemPath(path).c_str(), nullptr)) return false;
        UniqueHandle folder = OpenItself(path, GENERIC_WRITE);
        DWORD returned = 0;
        if (!folder || !::DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, data->data(),
                                          static_cast<DWORD>(data->size()), nullptr, 0, &returned, nullptr)) {
            folder.Reset();
            ::RemoveDirectoryW(SystemPath(path).c_str());
            return false;
        }
    }
    // Only a link that reads back as asked counts: some systems answer the
    // call without making one.
    return ReadFolderLinkAt(path) == link;
}

std::wstring FinalPathOf(const std::wstring& path) {
    // The literal form of a name ending in a dot or a blank is full already;
    // the ordinary form resolves "." and ".." and cuts nothing else.
    std::wstring existing = NeedsLiteralForm(path) ? path : FullPath(path);
    while (existing.size() > 3 && IsPathSeparator(existing.back())) existing.pop_back();
    // The longest part of the path that exists names the place; the rest
    // follows it as written. The item itself is named as it is, a link
    // included; the folders above it are followed to where they lead.
    std::wstring rest;
    for (bool itself = true;; itself = false) {
        UniqueHandle handle(::CreateFileW(
            SystemPath(existing).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS | (itself ? FILE_FLAG_OPEN_REPARSE_POINT : 0), nullptr));
        if (handle) {
            if (std::optional<std::wstring> final = FinalPathOfHandle(handle.Get())) {
                if (!rest.empty() && !final->empty() && IsPathSeparator(final->back())) final->pop_back();
                return *final + rest;
            }
            break;
        }
        const std::size_t cut = existing.find_last_of(L"\\/");
        if (cut == std::wstring::npos || cut < 2 || existing.size() <= 3) break;
        rest = existing.substr(cut) + rest;
        existing.resize(cut);
        if (existing.size() == 2 && existing[1] == L':') existing += L'\\';
    }
    // Nothing of it could be opened: its long form, as far as the system
    // knows one.
    if (!rest.empty() && !existing.empty() && IsPathSeparator(existing.back())) existing.pop_back();
    const std::wstring full = existing + rest;
    std::vector<wchar_t> buffer(full.size() + MAX_PATH);
    const DWORD length = ::GetLongPathNameW(full.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    return length > 0 && length < buffer.size() ? std::wstring(buffer.data(), length) : full;
}

}  // namespace bastion::win32
