#include "platform/win32/Win32SystemInfo.h"

#include <lmcons.h>

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace bastion::win32 {

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

platform::OsVersion FromInfo(const OSVERSIONINFOW& info) {
    return platform::OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

}  // namespace

platform::OsVersion Win32SystemInfo::GetOsVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // GetVersionEx reports the version the program's manifest claims to
    // know, not the real one; ntdll tells the truth.
    if (HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll")) {
        if (auto rtlGetVersion = GetProcedure<RtlGetVersionFunction>(ntdll, "RtlGetVersion")) {
            if (rtlGetVersion(&info) == 0) {
                return FromInfo(info);
            }
        }
    }
    info = OSVERSIONINFOW{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&info)) {
        return platform::OsVersion{};
    }
#pragma GCC diagnostic pop
    return FromInfo(info);
}

std::string Win32SystemInfo::SystemFolder() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    UINT length = ::GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = ::GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size()) {
        return {};
    }
    std::wstring folder(buffer.data(), length);
    if (folder.size() > 3 && folder.back() == L'\\') {
        folder.pop_back();
    }
    return Narrow(folder);
}

std::string Win32SystemInfo::UserName() {
    wchar_t name[UNLEN + 1] = {};
    DWORD size = UNLEN + 1;
    if (!::GetUserNameW(name, &size)) {
        return {};
    }
    return NarrowUntilNul(name, UNLEN + 1);
}

std::string Win32SystemInfo::ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size)) {
        return {};
    }
    return Narrow(std::wstring_view(name, size));
}

std::string Win32SystemInfo::ProgramPath() {
    // A path that fills the buffer may have been cut: try a larger one.
    for (DWORD capacity = MAX_PATH; capacity <= 32768 * 2; capacity *= 2) {
        std::vector<wchar_t> buffer(capacity);
        DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), capacity);
        if (length == 0) {
            return {};
        }
        if (length < capacity) {
            return Narrow(std::wstring_view(buffer.data(), length));
        }
    }
    return {};
}

unsigned Win32SystemInfo::AnsiCodePage() { return ::GetACP(); }

std::uint16_t Win32SystemInfo::UserInterfaceLanguage() { return ::GetUserDefaultUILanguage(); }

std::string Win32SystemInfo::ExpandEnvironment(const std::string& text) {
    const std::wstring wide = Widen(text);
    // The size asked for includes the terminating NUL.
    DWORD needed = ::ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    for (int attempt = 0; needed > 0 && attempt < 4; ++attempt) {
        std::vector<wchar_t> buffer(needed);
        DWORD written = ::ExpandEnvironmentStringsW(wide.c_str(), buffer.data(), needed);
        if (written == 0) break;
        if (written <= needed) return Narrow(std::wstring_view(buffer.data(), written - 1));
        needed = written;
    }
    return text;
}

}  // namespace bastion::win32
