// Running processes: both enumerations, module paths, termination.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bastion::platform {

struct ProcessEntry {
    std::uint32_t id = 0;
    std::string exeFile;  // as the snapshot gives it
};

class Processes {
public:
    virtual ~Processes() = default;

    // Identifiers of every process (EnumProcesses); nullopt on failure.
    virtual std::optional<std::vector<std::uint32_t>> EnumerateIds() = 0;
    // The base name of the process's first module ("notepad.exe"); empty
    // when the process cannot be opened or has no readable module.
    virtual std::string BaseName(std::uint32_t processId) = 0;
    // A process snapshot (Toolhelp); nullopt on failure.
    virtual std::optional<std::vector<ProcessEntry>> Snapshot() = 0;
    // Full path of the process's first module; nullopt when the process
    // cannot be opened for query and read, or the module cannot be read.
    virtual std::optional<std::string> FirstModulePath(std::uint32_t processId) = 0;
    // Opens the process with terminate access and ends it.
    virtual bool Terminate(std::uint32_t processId, std::uint32_t exitCode) = 0;
    // The process's exit code (259 while it runs); nullopt when it cannot be
    // opened.
    virtual std::optional<std::uint32_t> ExitCode(std::uint32_t processId) = 0;
    // True when the process has ended within the time (or no longer exists).
    virtual bool WaitForExit(std::uint32_t processId, std::uint32_t milliseconds) = 0;
    // Enables or disables SeDebugPrivilege in the program's own token.
    virtual bool SetDebugPrivilege(bool enable) = 0;
};

}  // namespace bastion::platform
