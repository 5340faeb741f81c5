// Running processes through psapi, Toolhelp and the process functions.
#pragma once

#include "platform/Processes.h"

namespace bastion::win32 {

class Win32Processes final : public platform::Processes {
public:
    std::optional<std::vector<std::uint32_t>> EnumerateIds() override;
    std::optional<std::string> ImagePath(std::uint32_t processId) override;
    std::optional<std::vector<platform::ProcessEntry>> Snapshot() override;
    platform::TerminateResult Terminate(std::uint32_t processId, std::uint32_t exitCode) override;
    std::unique_ptr<platform::ProcessHandle> Open(std::uint32_t processId) override;
    bool MayTerminate(std::uint32_t processId) override;
    std::optional<std::uint32_t> ExitCode(std::uint32_t processId) override;
    bool WaitForExit(std::uint32_t processId, std::uint32_t milliseconds) override;
    bool SetDebugPrivilege(bool enable) override;
};

}  // namespace bastion::win32
