#include "scan/processes/ProcessStop.h"

#include "scan/processes/ExecutablePaths.h"
#include "scan/processes/WindowsProcesses.h"

namespace bastion {

namespace {

constexpr int kStopAttempts = 11;
constexpr std::uint32_t kEndedCheckMilliseconds = 1;

std::unique_ptr<platform::ProcessHandle> OpenToStop(platform::Processes& processes, platform::SystemInfo& system,
                                                    std::uint32_t processId) {
    if (system.GetOsVersion().platformId == platform::kWindows95Family) return processes.Open(processId);
    // A token without the privilege (a program run without elevation) still
    // opens the processes of its own account, which is where threats the
    // user started run; the privilege only widens that. It counts when the
    // process is opened, so it is given back right after.
    const bool privileged = processes.SetDebugPrivilege(true);
    std::unique_ptr<platform::ProcessHandle> process = processes.Open(processId);
    if (privileged) processes.SetDebugPrivilege(false);
    return process;
}

}  // namespace

StopOutcome StopRunningProgram(platform::Processes& processes, platform::SystemInfo& system,
                               platform::FileSystem& files, std::uint32_t processId, std::string_view detectedPath) {
    const std::string systemFolder = system.SystemFolder();
    const std::string detected = ComparableProgramPath(files, detectedPath, systemFolder);
    for (int attempt = 0; attempt < kStopAttempts; ++attempt) {
        const std::unique_ptr<platform::ProcessHandle> process = OpenToStop(processes, system, processId);
        // Not opened: the process has ended (and nothing runs under its id),
        // or it cannot be reached at all.
        if (!process) return processes.WaitForExit(processId, 0) ? StopOutcome::Stopped : StopOutcome::Failed;
        const std::optional<std::string> current = process->ImagePath();
        if (!current) return process->WaitForExit(0) ? StopOutcome::Stopped : StopOutcome::Failed;
        const std::string path = ComparableProgramPath(files, *current, systemFolder);
        // The detected program has ended, and another one took its id.
        if (path != detected) return StopOutcome::Stopped;
        if (IsPartOfWindows(files, path, systemFolder)) return StopOutcome::PartOfWindows;
        switch (process->Terminate(0)) {
            case platform::TerminateResult::Terminated: return StopOutcome::Stopped;
            // Asking again would be refused again.
            case platform::TerminateResult::AccessDenied:
                return process->WaitForExit(0) ? StopOutcome::Stopped : StopOutcome::NeedsAdministrator;
            case platform::TerminateResult::Failed: break;
        }
        if (process->WaitForExit(kEndedCheckMilliseconds)) return StopOutcome::Stopped;
    }
    return StopOutcome::Failed;
}

bool StopProcessById(platform::Processes& processes, platform::SystemInfo& system, platform::FileSystem& files,
                     std::uint32_t processId, std::string_view detectedPath) {
    return StopRunningProgram(processes, system, files, processId, detectedPath) == StopOutcome::Stopped;
}

}  // namespace bastion
