#include "platform/win32/VersionResource.h"

#include <cstdio>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

namespace {

std::string QueryString(std::vector<BYTE>& block, const wchar_t* languageBlock, const wchar_t* name) {
    wchar_t sub[128];
    std::swprintf(sub, 128, L"\\StringFileInfo\\%ls\\%ls", languageBlock, name);
    LPVOID value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), sub, &value, &length) || value == nullptr || length == 0) return {};
    return NarrowUntilNul(static_cast<const wchar_t*>(value), length);
}

}  // namespace

std::optional<VersionStrings> ReadVersionStrings(const std::string& path) {
    std::wstring widePath = SystemPath(path);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(widePath.c_str(), 0, size, block.data())) return std::nullopt;

    // The first language and code page of the translation table names the
    // string block; a resource without one uses US English, Unicode.
    wchar_t languageBlock[16] = L"040904b0";
    struct Translation {
        WORD language;
        WORD codePage;
    };
    LPVOID translations = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translations, &length) &&
        length >= sizeof(Translation)) {
        const auto* first = static_cast<const Translation*>(translations);
        std::swprintf(languageBlock, 16, L"%04x%04x", first->language, first->codePage);
    }

    VersionStrings strings;
    strings.productName = QueryString(block, languageBlock, L"ProductName");
    strings.companyName = QueryString(block, languageBlock, L"CompanyName");
    strings.comments = QueryString(block, languageBlock, L"Comments");
    strings.fileDescription = QueryString(block, languageBlock, L"FileDescription");

    LPVOID fixed = nullptr;
    if (VerQueryValueW(block.data(), L"\\", &fixed, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
        strings.fileVersionMajor = HIWORD(info->dwFileVersionMS);
        strings.fileVersionMinor = LOWORD(info->dwFileVersionMS);
    }
    return strings;
}

std::optional<VersionStrings> ReadOwnVersionStrings() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) break;
        buffer.resize(buffer.size() * 2);
    }
    return ReadVersionStrings(NarrowUntilNul(buffer.data(), buffer.size()));
}

}  // namespace bastion::win32
