// Shared pieces of the Wine tests: scratch folders under %TEMP% and the
// folder the test program (and its helper programs) live in.
#pragma once

#include <string>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32::test {

// The folder of the running test program, without a trailing backslash.
inline std::string ProgramFolder() {
    wchar_t path[32768] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, path, 32768);
    std::wstring full(path, length);
    return Narrow(full.substr(0, full.find_last_of(L'\\')));
}

// A name no other test run uses at the same time.
inline std::string UniqueName(const std::string& prefix) {
    LARGE_INTEGER ticks{};
    ::QueryPerformanceCounter(&ticks);
    return prefix + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(ticks.QuadPart);
}

// A fresh folder under %TEMP%, deleted with all its content at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH + 1] = {};
        DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
        std::string base = Narrow(std::wstring_view(temp, length));
        if (!base.empty() && base.back() == '\\') {
            base.pop_back();
        }
        path_ = base + "\\" + UniqueName("bastion_wine_");
        files_.CreateFolder(path_);
    }
    ~ScratchFolder() { files_.DeleteFolderTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    Win32FileSystem files_;
    std::string path_;
};

}  // namespace bastion::win32::test
