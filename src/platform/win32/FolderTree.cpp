#include "platform/win32/FolderTree.h"

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace bastion::win32 {

namespace {

std::wstring WithoutTrailingSeparators(std::wstring path) {
    while (path.size() > 1 && IsPathSeparator(path.back())) {
        path.pop_back();
    }
    return path;
}

bool IsDotEntry(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == L'\0') || (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
bool IsFolder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(SystemPath(path).c_str()); }

bool FolderPresent(const std::wstring& path) {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && IsFolder(attributes);
}

// True when the path names a drive or share root ("C:\", "\\server\share").
bool IsRoot(const std::wstring& path) {
    std::wstring full = WithoutTrailingSeparators(FullPath(path));
    if (full.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        full = L"\\\\" + full.substr(8);
    } else if (full.rfind(L"\\\\?\\", 0) == 0) {
        full = full.substr(4);
    }
    if (full.size() <= 2) {
        return true;  // "C:" or nothing
    }
    if (IsPathSeparator(full[0]) && IsPathSeparator(full[1])) {
        std::size_t server = full.find_first_of(L"\\/", 2);
        return server == std::wstring::npos || full.find_first_of(L"\\/", server + 1) == std::wstring::npos;
    }
    return false;
}

bool IsInside(const std::wstring& inner, const std::wstring& outer) {
    std::wstring a = WithoutTrailingSeparators(FullPath(inner));
    std::wstring b = WithoutTrailingSeparators(FullPath(outer)) + L"\\";
    if (a.size() < b.size()) {
        return false;
    }
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(b.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

bool CopyTreeChecked(const std::wstring& from, const std::wstring& to) {
    if (!CreateFolderChain(to)) {
        return false;
    }
    bool ok = true;
    bool listed = ForEachEntry(from, [&](const WIN32_FIND_DATAW& entry) {
        std::wstring source = JoinPath(from, entry.cFileName);
        std::wstring target = JoinPath(to, entry.cFileName);
        if (IsFolder(entry.dwFileAttributes)) {
            ok = (IsLink(entry.dwFileAttributes) ? CreateFolderChain(target) : CopyTreeChecked(source, target)) && ok;
        } else {
            ok = ::CopyFileW(SystemPath(source).c_str(), SystemPath(target).c_str(), FALSE) != FALSE && ok;
        }
    });
    return listed && ok;
}

}  // namespace

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || IsPathSeparator(folder.back())) {
        return folder + name;
    }
    return folder + L"\\" + name;
}

bool ForEachEntry(const std::wstring& folder, const std::function<void(const WIN32_FIND_DATAW&)>& visit) {
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileExW(SystemPath(JoinPath(folder, L"*")).c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    do {
        if (!IsDotEntry(data.cFileName)) {
            visit(data);
        }
    } while (::FindNextFileW(find.Get(), &data));
    return true;
}

bool CreateFolderChain(const std::wstring& path) {
    std::wstring folder = WithoutTrailingSeparators(path);
    if (folder.empty() || FolderPresent(folder)) {
        return !folder.empty();
    }
    std::size_t cut = folder.find_last_of(L"\\/");
    if (cut != std::wstring::npos && cut > 0) {
        std::wstring parent = folder.substr(0, cut);
        if (!IsRoot(parent) && !CreateFolderChain(parent)) {
            return false;
        }
    }
    if (::CreateDirectoryW(SystemPath(folder).c_str(), nullptr)) {
        return true;
    }
    return ::GetLastError() == ERROR_ALREADY_EXISTS && FolderPresent(folder);
}

bool CopyTree(const std::wstring& from, const std::wstring& to) {
    // A copy into the folder itself would copy its own copies for ever; so
    // would a copy through a link to a folder above it, and a link to the
    // profile or a drive would copy far more than the folder.
    const DWORD attributes = Attributes(from);
    if (attributes == INVALID_FILE_ATTRIBUTES || !IsFolder(attributes) || IsLink(attributes) || IsInside(to, from)) {
        return false;
    }
    return CopyTreeChecked(from, to);
}

}  // namespace bastion::win32
