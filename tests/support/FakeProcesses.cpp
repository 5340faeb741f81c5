#include "support/FakeProcesses.h"

#include <algorithm>

namespace bastion::testing {

std::optional<std::vector<std::uint32_t>> FakeProcesses::EnumerateIds() {
    if (failEnumeration) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> ids;
    for (const FakeProcess& process : table) {
        ids.push_back(process.id);
    }
    return ids;
}

std::optional<std::vector<platform::ProcessEntry>> FakeProcesses::Snapshot() {
    if (failSnapshot) {
        return std::nullopt;
    }
    std::vector<platform::ProcessEntry> entries;
    for (const FakeProcess& process : table) {
        entries.push_back({process.id, process.exeFile});
    }
    return entries;
}

std::optional<std::string> FakeProcesses::ImagePath(std::uint32_t processId) {
    FakeProcess* process = Find(processId);
    return process ? process->modulePath : std::nullopt;
}

class FakeProcessHandle : public platform::ProcessHandle {
public:
    FakeProcessHandle(FakeProcesses& owner, std::uint32_t id, std::uint64_t serial)
        : owner_(owner), id_(id), serial_(serial) {}
    std::optional<std::string> ImagePath() override {
        FakeProcess* process = owner_.Find(id_, serial_);
        std::optional<std::string> path = process ? process->modulePath : std::nullopt;
        if (owner_.onImagePathRead) owner_.onImagePathRead(id_);
        return path;
    }
    platform::TerminateResult Terminate(std::uint32_t exitCode) override {
        return owner_.End(owner_.Find(id_, serial_), id_, exitCode);
    }
    bool WaitForExit(std::uint32_t) override { return owner_.Find(id_, serial_) == nullptr; }

private:
    FakeProcesses& owner_;
    std::uint32_t id_;
    std::uint64_t serial_;
};

std::unique_ptr<platform::ProcessHandle> FakeProcesses::Open(std::uint32_t processId) {
    FakeProcess* process = Find(processId);
    if (!process) return nullptr;
    return std::make_unique<FakeProcessHandle>(*this, processId, process->serial);
}

FakeProcess* FakeProcesses::Find(std::uint32_t id, std::uint64_t serial) {
    FakeProcess* process = Find(id);
    return process && process->serial == serial ? process : nullptr;
}

platform::TerminateResult FakeProcesses::Terminate(std::uint32_t processId, std::uint32_t exitCode) {
    return End(Find(processId), processId, exitCode);
}

platform::TerminateResult FakeProcesses::End(FakeProcess* process, std::uint32_t processId, std::uint32_t exitCode) {
    terminateCalls.push_back({processId, exitCode});
    if (process && process->elevated) return platform::TerminateResult::AccessDenied;
    if (!process || process->unkillable) return platform::TerminateResult::Failed;
    if (process->failTerminations > 0) {
        --process->failTerminations;
        return platform::TerminateResult::Failed;
    }
    Remove(processId);
    return platform::TerminateResult::Terminated;
}

bool FakeProcesses::MayTerminate(std::uint32_t processId) {
    const FakeProcess* process = Find(processId);
    return process && !process->elevated;
}

std::optional<std::uint32_t> FakeProcesses::ExitCode(std::uint32_t processId) {
    // An ended process is gone from the table and can no longer be opened.
    if (!IsRunning(processId)) {
        return std::nullopt;
    }
    return kStillActive;
}

bool FakeProcesses::WaitForExit(std::uint32_t processId, std::uint32_t) {
    return !IsRunning(processId);
}

bool FakeProcesses::SetDebugPrivilege(bool enable) {
    debugPrivilegeCalls.push_back(enable);
    return !failDebugPrivilege;
}

FakeProcess& FakeProcesses::Add(std::uint32_t id, const std::string& modulePath) {
    FakeProcess process;
    process.id = id;
    std::size_t slash = modulePath.find_last_of('\\');
    process.exeFile = slash == std::string::npos ? modulePath : modulePath.substr(slash + 1);
    process.modulePath = modulePath;
    return Add(process);
}

FakeProcess& FakeProcesses::Add(FakeProcess process) {
    Remove(process.id);
    process.serial = nextSerial_++;
    table.push_back(std::move(process));
    return table.back();
}

void FakeProcesses::Remove(std::uint32_t id) {
    table.erase(std::remove_if(table.begin(), table.end(), [&](const FakeProcess& p) { return p.id == id; }),
                table.end());
}

bool FakeProcesses::IsRunning(std::uint32_t id) const {
    return std::any_of(table.begin(), table.end(), [&](const FakeProcess& p) { return p.id == id; });
}

FakeProcess* FakeProcesses::Find(std::uint32_t id) {
    auto found = std::find_if(table.begin(), table.end(), [&](const FakeProcess& p) { return p.id == id; });
    return found == table.end() ? nullptr : &*found;
}

}  // namespace bastion::testing
