// A helper program started by a Wine test and left running (unlike
// RunChild, which waits for its end); ended at the latest when the test ends.
//
// Started as Protected, it stands for an elevated program or a service: the
// process object lets any other program query its image and wait for it,
// nothing more (the test's own handle from its creation keeps every right).
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

#include <sddl.h>

namespace bastion::win32::test {

class RunningProgram {
public:
    enum class Access { Open, Protected };

    explicit RunningProgram(std::string path, Access access = Access::Open) : path_(std::move(path)) {
        std::wstring commandLine = L"\"" + Widen(path_) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        // Everyone: limited query information and synchronize only.
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, FALSE};
        if (access == Access::Protected &&
            ::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;0x00101000;;;WD)", SDDL_REVISION_1,
                                                                   &descriptor, nullptr)) {
            attributes.lpSecurityDescriptor = descriptor;
        }
        if (::CreateProcessW(nullptr, commandLine.data(), descriptor ? &attributes : nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, &startup, &info)) {
            process_.Reset(info.hProcess);
            UniqueHandle thread(info.hThread);
            id_ = info.dwProcessId;
        }
        if (descriptor) ::LocalFree(descriptor);
    }
    ~RunningProgram() {
        if (process_ && !Ended(0)) {
            ::TerminateProcess(process_.Get(), 1);
            Ended(10000);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    std::uint32_t Id() const { return id_; }
    const std::string& Path() const { return path_; }
    bool Ended(unsigned long waitMs) const { return ::WaitForSingleObject(process_.Get(), waitMs) == WAIT_OBJECT_0; }
    // Closes the test's handle on the process, which then runs on its own.
    void Close() { process_.Reset(); }

private:
    std::string path_;
    UniqueHandle process_;
    std::uint32_t id_ = 0;
};

// The process scan names processes by their image path, readable once the
// process has been set up; false when that takes more than five seconds.
inline bool WaitUntilNamed(const RunningProgram& program, Win32Processes& processes) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (processes.ImagePath(program.Id())) return true;
        ::Sleep(50);
    }
    return false;
}

}  // namespace bastion::win32::test
