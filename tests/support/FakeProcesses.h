// A table of running processes. Terminating one removes it from the table,
// unless it is set to fail a number of times first or never to end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Processes.h"

namespace bastion::testing {

struct FakeProcess {
    std::uint32_t id = 0;
    // What the snapshot gives (the base name on the NT family, the full
    // path on the Windows 95 family).
    std::string exeFile;
    // What ImagePath gives; nullopt when it cannot be read.
    std::optional<std::string> modulePath;
    // Terminate fails this many times before it succeeds.
    int failTerminations = 0;
    bool unkillable = false;
    // Runs elevated: this program may see it but not end it.
    bool elevated = false;
    // Tells this process from a later one under the same id; Add sets it.
    std::uint64_t serial = 0;
};

struct TerminateCall {
    std::uint32_t processId = 0;
    std::uint32_t exitCode = 0;
    friend bool operator==(const TerminateCall&, const TerminateCall&) = default;
};

class FakeProcesses : public platform::Processes {
public:
    static constexpr std::uint32_t kStillActive = 259;

    // platform::Processes
    std::optional<std::vector<std::uint32_t>> EnumerateIds() override;
    std::optional<std::string> ImagePath(std::uint32_t processId) override;
    std::optional<std::vector<platform::ProcessEntry>> Snapshot() override;
    platform::TerminateResult Terminate(std::uint32_t processId, std::uint32_t exitCode) override;
    // A handle on the process running now under the id: it keeps reaching
    // that one process, even once another has taken its id.
    std::unique_ptr<platform::ProcessHandle> Open(std::uint32_t processId) override;
    bool MayTerminate(std::uint32_t processId) override;
    std::optional<std::uint32_t> ExitCode(std::uint32_t processId) override;
    bool WaitForExit(std::uint32_t processId, std::uint32_t milliseconds) override;
    bool SetDebugPrivilege(bool enable) override;

    // Adds a process running the program at modulePath, with the snapshot
    // name its file name; returns it for further changes.
    FakeProcess& Add(std::uint32_t id, const std::string& modulePath);
    FakeProcess& Add(FakeProcess process);
    void Remove(std::uint32_t id);
    bool IsRunning(std::uint32_t id) const;
    FakeProcess* Find(std::uint32_t id);

    bool failEnumeration = false;
    bool failSnapshot = false;
    bool failDebugPrivilege = false;

    std::vector<FakeProcess> table;
    std::vector<TerminateCall> terminateCalls;
    // Called with the id each time a handle has read what its process runs:
    // a test ends the process there and starts another under its id.
    std::function<void(std::uint32_t processId)> onImagePathRead;
    // The argument of every SetDebugPrivilege call, in order.
    std::vector<bool> debugPrivilegeCalls;

private:
    friend class FakeProcessHandle;
    FakeProcess* Find(std::uint32_t id, std::uint64_t serial);
    platform::TerminateResult End(FakeProcess* process, std::uint32_t processId, std::uint32_t exitCode);
    std::uint64_t nextSerial_ = 1;
};

}  // namespace bastion::testing
