#include "scan/processes/ProcessStop.h"

#include "common/Text.h"
#include "scan/processes/ProcessList.h"

namespace bastion {

namespace {

constexpr int kStopAttempts = 11;
constexpr std::uint32_t kEndedCheckMilliseconds = 1;
constexpr std::uint32_t kWindows95Family = 1;

// Long names are compared on their first 15 characters, shorter ones
// without their extension.
std::string ReducedName(std::string_view name) {
    constexpr std::size_t kLongName = 16;
    constexpr std::size_t kComparedLength = 15;
    if (name.size() >= kLongName) return std::string(name.substr(0, kComparedLength));
    return std::string(name.substr(0, name.find('.')));
}

// The file-name part of a listed process name.
std::string_view ListedFileName(std::string_view listed) {
    listed = listed.substr(0, listed.find('\0'));
    const std::size_t slash = listed.find_last_of('\\');
    return slash == std::string_view::npos ? listed : listed.substr(slash + 1);
}

}  // namespace

std::string ShortProcessName(std::string_view fileName) {
    std::string stem = ReplaceAllIgnoreCase(fileName, ".exe", "");
    constexpr std::size_t kStemLength = 6;
    if (stem.size() > kStemLength) stem.resize(kStemLength);
    return ToUpper(stem) + "~1";
}

bool TerminateProcessById(platform::Processes& processes, platform::SystemInfo& system,
                          std::uint32_t processId, std::uint32_t exitCode) {
    if (system.GetOsVersion().platformId == kWindows95Family) {
        return processes.Terminate(processId, exitCode);
    }
    // A token without the privilege (a program run without elevation) still
    // ends the processes of its own account, which is where threats the user
    // started run; the privilege only widens that. So the termination is
    // tried whether or not the privilege could be enabled.
    const bool privileged = processes.SetDebugPrivilege(true);
    const bool terminated = processes.Terminate(processId, exitCode);
    if (privileged) processes.SetDebugPrivilege(false);
    return terminated;
}

bool StopProcessByName(platform::Processes& processes, platform::SystemInfo& system, std::string_view fileName) {
    // A blank name would agree with any process whose name begins with ".".
    if (Trim(fileName).empty()) return true;
    const std::string shortName = ShortProcessName(fileName);
    const std::string wanted = ReducedName(fileName);

    ProcessList list;
    if (GetProcessList(processes, list, "", true) < 0) return false;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const std::string reduced = ReducedName(ListedFileName(list.names[i]));
        if (!EqualsIgnoreCase(reduced, wanted) && !EqualsIgnoreCase(reduced, shortName)) continue;

        const std::uint32_t id = list.ids[i];
        for (int attempt = 0; attempt < kStopAttempts; ++attempt) {
            if (TerminateProcessById(processes, system, id, 0)) return true;
            if (processes.WaitForExit(id, kEndedCheckMilliseconds)) return true;
        }
        return false;
    }
    return true;
}

}  // namespace bastion
