#include "scan/processes/ProcessStop.h"

#include "common/Text.h"
#include "scan/processes/ExecutablePaths.h"

namespace bastion {

namespace {

constexpr int kStopAttempts = 11;
constexpr std::uint32_t kEndedCheckMilliseconds = 1;

}  // namespace

platform::TerminateResult TerminateProcessById(platform::Processes& processes, platform::SystemInfo& system,
                                               std::uint32_t processId, std::uint32_t exitCode) {
    if (system.GetOsVersion().platformId == platform::kWindows95Family) {
        return processes.Terminate(processId, exitCode);
    }
    // A token without the privilege (a program run without elevation) still
    // ends the processes of its own account, which is where threats the user
    // started run; the privilege only widens that. So the termination is
    // tried whether or not the privilege could be enabled.
    const bool privileged = processes.SetDebugPrivilege(true);
    const platform::TerminateResult result = processes.Terminate(processId, exitCode);
    if (privileged) processes.SetDebugPrivilege(false);
    return result;
}

StopOutcome StopRunningProgram(platform::Processes& processes, platform::SystemInfo& system,
                               std::uint32_t processId, std::string_view detectedPath) {
    const std::optional<std::string> current = processes.ImagePath(processId);
    // No path: the process has ended (and nothing runs under its id), or it
    // cannot be opened to tell what it runs.
    if (!current) return processes.WaitForExit(processId, 0) ? StopOutcome::Stopped : StopOutcome::Failed;
    const std::string systemFolder = system.SystemFolder();
    if (NormalizedProcessPath(*current, systemFolder) != NormalizedProcessPath(detectedPath, systemFolder)) {
        return StopOutcome::Stopped;
    }
    for (int attempt = 0; attempt < kStopAttempts; ++attempt) {
        switch (TerminateProcessById(processes, system, processId, 0)) {
            case platform::TerminateResult::Terminated: return StopOutcome::Stopped;
            // Asking again would be refused again.
            case platform::TerminateResult::AccessDenied:
                return processes.WaitForExit(processId, 0) ? StopOutcome::Stopped : StopOutcome::NeedsAdministrator;
            case platform::TerminateResult::Failed: break;
        }
        if (processes.WaitForExit(processId, kEndedCheckMilliseconds)) return StopOutcome::Stopped;
    }
    return StopOutcome::Failed;
}

bool StopProcessById(platform::Processes& processes, platform::SystemInfo& system, std::uint32_t processId,
                     std::string_view detectedPath) {
    return StopRunningProgram(processes, system, processId, detectedPath) == StopOutcome::Stopped;
}

}  // namespace bastion
