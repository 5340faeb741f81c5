// Running processes: both enumerations, image paths, termination.
//
// Every process is seen by the path of the program it runs, read with the
// least access the system grants (limited query information), so that
// elevated programs and services are seen too, by a program that may not
// open them for anything more.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace bastion::platform {

struct ProcessEntry {
    std::uint32_t id = 0;
    std::string exeFile;  // as the snapshot gives it
};

enum class TerminateResult {
    Terminated,
    // This program may not end that one: it runs elevated, as a service or
    // under another account, and this one without administrator rights.
    AccessDenied,
    // Any other failure (it is ending already, it is protected).
    Failed,
};

// A process held open: what it runs is read, and it is ended, through this
// one handle, so that a program that took the id of one that ended
// meanwhile is never the one ended. Closed when destroyed.
class ProcessHandle {
public:
    virtual ~ProcessHandle() = default;
    // The full path of the program it runs; nullopt when it cannot be read.
    virtual std::optional<std::string> ImagePath() = 0;
    virtual TerminateResult Terminate(std::uint32_t exitCode) = 0;
    // True when it has ended within the time.
    virtual bool WaitForExit(std::uint32_t milliseconds) = 0;
};

class Processes {
public:
    virtual ~Processes() = default;

    // Identifiers of every process (EnumProcesses); nullopt on failure.
    virtual std::optional<std::vector<std::uint32_t>> EnumerateIds() = 0;
    // The full path of the program the process runs; nullopt when it cannot
    // be read (the process has ended, the system's own processes).
    virtual std::optional<std::string> ImagePath(std::uint32_t processId) = 0;
    // A process snapshot (Toolhelp); nullopt on failure.
    virtual std::optional<std::vector<ProcessEntry>> Snapshot() = 0;
    // Opens the process with terminate access and ends it.
    virtual TerminateResult Terminate(std::uint32_t processId, std::uint32_t exitCode) = 0;
    // Opens the process to look at it and, where this program may, end it;
    // nullptr when it cannot be opened at all (it has ended, say).
    virtual std::unique_ptr<ProcessHandle> Open(std::uint32_t processId) = 0;
    // Whether this program may end the process: it can be opened with
    // terminate access (nothing is ended).
    virtual bool MayTerminate(std::uint32_t processId) = 0;
    // The process's exit code (259 while it runs); nullopt when it cannot be
    // opened.
    virtual std::optional<std::uint32_t> ExitCode(std::uint32_t processId) = 0;
    // True when the process has ended within the time (or no longer exists).
    virtual bool WaitForExit(std::uint32_t processId, std::uint32_t milliseconds) = 0;
    // Enables or disables SeDebugPrivilege in the program's own token.
    virtual bool SetDebugPrivilege(bool enable) = 0;
};

}  // namespace bastion::platform
