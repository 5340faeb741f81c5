#include "platform/win32/Win32Shell.h"

#include <cstring>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

#include <shellapi.h>
#include <userenv.h>

namespace bastion::win32 {

namespace {

int ShowCommand(platform::ShowWindow show) {
    switch (show) {
        case platform::ShowWindow::Normal:
            return SW_SHOWNORMAL;
        case platform::ShowWindow::Minimized:
            return SW_SHOWMINIMIZED;
        case platform::ShowWindow::MinimizedNoActivate:
            return SW_SHOWMINNOACTIVE;
        case platform::ShowWindow::Maximized:
            return SW_SHOWMAXIMIZED;
        case platform::ShowWindow::Hidden:
            return SW_HIDE;
    }
    return SW_SHOWNORMAL;
}

std::optional<std::string> NonEmpty(const wchar_t* path, std::size_t capacity) {
    std::string text = NarrowUntilNul(path, capacity);
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

}  // namespace

std::optional<std::string> Win32Shell::SpecialFolderPath(int csidl) {
    wchar_t path[MAX_PATH + 1] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) {
        return std::nullopt;
    }
    std::optional<std::string> text = NonEmpty(path, MAX_PATH + 1);
    if (text && text->size() > 3 && text->back() == '\\') {
        text->pop_back();
    }
    return text;
}

std::optional<std::string> Win32Shell::ProgramsFolderFromIdList() {
    UniquePidl pidl;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, pidl.Receive())) || !pidl) {
        return std::nullopt;
    }
    wchar_t path[MAX_PATH + 1] = {};
    if (!::SHGetPathFromIDListW(pidl.Get(), path)) {
        return std::nullopt;
    }
    return NonEmpty(path, MAX_PATH + 1);
}

std::optional<std::string> Win32Shell::DownloadsFolderPath() {
    // FOLDERID_Downloads, spelled here so that no GUID library is needed.
    static const GUID kDownloads = {0x374de290, 0x123f, 0x4565, {0x91, 0x64, 0x39, 0xc4, 0x92, 0x5e, 0x46, 0x7b}};
    // Called through the shell library: Windows before Vista has no
    // SHGetKnownFolderPath.
    using GetKnownFolderPath = HRESULT(WINAPI*)(REFGUID, DWORD, HANDLE, PWSTR*);
    const HMODULE shell32 = ::GetModuleHandleW(L"shell32.dll");
    const auto get = shell32 ? reinterpret_cast<GetKnownFolderPath>(
                                   reinterpret_cast<void*>(::GetProcAddress(shell32, "SHGetKnownFolderPath")))
                             : nullptr;
    if (!get) return std::nullopt;
    PWSTR path = nullptr;
    const HRESULT result = get(kDownloads, 0, nullptr, &path);
    std::optional<std::string> text;
    if (SUCCEEDED(result) && path && *path) text = Narrow(path);
    ::CoTaskMemFree(path);
    return text;
}

std::optional<std::string> Win32Shell::AllUsersProfilePath() {
    wchar_t path[MAX_PATH + 1] = {};
    DWORD length = MAX_PATH + 1;
    if (::GetAllUsersProfileDirectoryW(path, &length)) {
        return NonEmpty(path, MAX_PATH + 1);
    }
    // Wine keeps no all-users profile in its profile list; the environment
    // names it on every system.
    const DWORD expanded = ::ExpandEnvironmentStringsW(L"%ALLUSERSPROFILE%", path, MAX_PATH + 1);
    if (expanded == 0 || expanded > MAX_PATH + 1 || path[0] == L'%') {
        return std::nullopt;
    }
    return NonEmpty(path, MAX_PATH + 1);
}

bool Win32Shell::Open(const std::string& target, platform::ShowWindow show) {
    HINSTANCE result =
        ::ShellExecuteW(nullptr, L"open", Widen(target).c_str(), nullptr, nullptr, ShowCommand(show));
    // Values above 32 mean success; lower ones are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::StartProgram(const std::string& commandLine, platform::ShowWindow show) {
    // CreateProcessW may write into the command line, so it gets a copy.
    std::wstring wide = Widen(commandLine);
    std::vector<wchar_t> mutableLine(wide.begin(), wide.end());
    mutableLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowCommand(show));
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return false;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    return true;
}

bool Win32Shell::StartElevated(const std::string& programPath, const std::string& arguments) {
    const std::wstring file = Widen(programPath);
    const std::wstring parameters = Widen(arguments);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // Returns once the program was started or refused, not before.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&info) != FALSE;
}

bool Win32Shell::SetClipboardText(const std::string& text) {
    std::wstring wide = Widen(text);
    std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) {
        return false;
    }
    void* target = ::GlobalLock(memory.Get());
    if (target == nullptr) {
        return false;
    }
    std::memcpy(target, wide.c_str(), bytes);
    ::GlobalUnlock(memory.Get());

    // The clipboard is opened for a window of its own: emptied without an
    // owner window, it may refuse the new data.
    UniqueWindow owner(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr));
    ClipboardSession clipboard(owner.Get());
    if (!clipboard.IsOpen() || !::EmptyClipboard()) {
        return false;
    }
    if (::SetClipboardData(CF_UNICODETEXT, memory.Get()) == nullptr) {
        return false;
    }
    // The clipboard owns the memory now.
    memory.Release();
    return true;
}

std::optional<std::string> Win32Shell::GetClipboardText() {
    ClipboardSession clipboard;
    if (!clipboard.IsOpen()) {
        return std::nullopt;
    }
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) {
        return std::nullopt;
    }
    const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
    if (text == nullptr) {
        return std::nullopt;
    }
    std::size_t capacity = ::GlobalSize(data) / sizeof(wchar_t);
    std::string result = NarrowUntilNul(text, capacity);
    ::GlobalUnlock(data);
    return result;
}

}  // namespace bastion::win32
