#include "platform/win32/Win32Processes.h"

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

#include <psapi.h>
#include <tlhelp32.h>

namespace bastion::win32 {

namespace {

// Long enough for any path the system reports ("\\?\" paths included).
constexpr DWORD kMaxPathChars = 32768;

platform::TerminateResult Failure() {
    return ::GetLastError() == ERROR_ACCESS_DENIED ? platform::TerminateResult::AccessDenied
                                                   : platform::TerminateResult::Failed;
}

std::optional<std::string> ImagePathOf(HANDLE process) {
    std::wstring path(kMaxPathChars, L'\0');
    DWORD length = kMaxPathChars;
    if (!::QueryFullProcessImageNameW(process, 0, path.data(), &length) || length == 0) {
        return std::nullopt;
    }
    path.resize(length);
    return Narrow(path);
}

class Win32ProcessHandle final : public platform::ProcessHandle {
public:
    explicit Win32ProcessHandle(UniqueHandle process) : process_(std::move(process)) {}
    std::optional<std::string> ImagePath() override { return ImagePathOf(process_.Get()); }
    platform::TerminateResult Terminate(std::uint32_t exitCode) override {
        if (::TerminateProcess(process_.Get(), exitCode)) return platform::TerminateResult::Terminated;
        return Failure();
    }
    bool WaitForExit(std::uint32_t milliseconds) override {
        return ::WaitForSingleObject(process_.Get(), milliseconds) == WAIT_OBJECT_0;
    }

private:
    UniqueHandle process_;
};

}  // namespace

std::optional<std::vector<std::uint32_t>> Win32Processes::EnumerateIds() {
    // The system does not say how many processes there are; a buffer that
    // came back full may have been too small, so it is doubled until the
    // answer leaves room.
    std::vector<DWORD> ids(512 / sizeof(DWORD));
    for (;;) {
        DWORD bytes = static_cast<DWORD>(ids.size() * sizeof(DWORD));
        DWORD returned = 0;
        if (!::EnumProcesses(ids.data(), bytes, &returned)) {
            return std::nullopt;
        }
        if (returned < bytes) {
            return std::vector<std::uint32_t>(ids.begin(), ids.begin() + returned / sizeof(DWORD));
        }
        if (ids.size() >= (1u << 24)) {
            return std::nullopt;
        }
        ids.resize(ids.size() * 2);
    }
}

std::optional<std::string> Win32Processes::ImagePath(std::uint32_t processId) {
    // Limited query information is granted where reading the memory of the
    // process is not: elevated programs, services, other accounts.
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return std::nullopt;
    return ImagePathOf(process.Get());
}

std::optional<std::vector<platform::ProcessEntry>> Win32Processes::Snapshot() {
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return std::nullopt;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    std::vector<platform::ProcessEntry> processes;
    if (!::Process32FirstW(snapshot.Get(), &entry)) {
        return ::GetLastError() == ERROR_NO_MORE_FILES ? std::optional(processes) : std::nullopt;
    }
    do {
        processes.push_back({entry.th32ProcessID, NarrowUntilNul(entry.szExeFile, MAX_PATH)});
        entry.dwSize = sizeof(entry);
    } while (::Process32NextW(snapshot.Get(), &entry));
    return processes;
}

platform::TerminateResult Win32Processes::Terminate(std::uint32_t processId, std::uint32_t exitCode) {
    UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (!process) return Failure();
    if (::TerminateProcess(process.Get(), exitCode)) return platform::TerminateResult::Terminated;
    return Failure();
}

std::unique_ptr<platform::ProcessHandle> Win32Processes::Open(std::uint32_t processId) {
    constexpr DWORD kLook = PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE;
    UniqueHandle process(::OpenProcess(kLook | PROCESS_TERMINATE, FALSE, processId));
    // A program this one may not end (elevated, a service) can still be
    // told: the attempt to end it then says it needs administrator rights.
    if (!process && ::GetLastError() == ERROR_ACCESS_DENIED) process.Reset(::OpenProcess(kLook, FALSE, processId));
    if (!process) return nullptr;
    return std::make_unique<Win32ProcessHandle>(std::move(process));
}

bool Win32Processes::MayTerminate(std::uint32_t processId) {
    return static_cast<bool>(UniqueHandle(::OpenProcess(PROCESS_TERMINATE, FALSE, processId)));
}

std::optional<std::uint32_t> Win32Processes::ExitCode(std::uint32_t processId) {
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    DWORD code = 0;
    if (!process || !::GetExitCodeProcess(process.Get(), &code)) {
        return std::nullopt;
    }
    return code;
}

bool Win32Processes::WaitForExit(std::uint32_t processId, std::uint32_t milliseconds) {
    UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process) {
        // No process of that id is left to wait for.
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    }
    return ::WaitForSingleObject(process.Get(), milliseconds) == WAIT_OBJECT_0;
}

bool Win32Processes::SetDebugPrivilege(bool enable) {
    UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Receive())) {
        return false;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    if (!::LookupPrivilegeValueW(nullptr, SE_DEBUG_NAME, &privileges.Privileges[0].Luid)) {
        return false;
    }
    // Success of the call alone does not mean the privilege was granted:
    // a token that lacks it reports ERROR_NOT_ALL_ASSIGNED.
    if (!::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof(privileges), nullptr, nullptr)) {
        return false;
    }
    return ::GetLastError() != ERROR_NOT_ALL_ASSIGNED;
}

}  // namespace bastion::win32
