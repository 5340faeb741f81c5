// Ending a running program: the one a scan, the memory shield's alert or a
// removal detected, by its process id.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/SystemInfo.h"

namespace bastion {

// What became of a detected program that was to be stopped.
enum class StopOutcome {
    // It no longer runs: stopped now, or ended before.
    Stopped,
    // It still runs, and only a program with administrator rights may end
    // it (it runs elevated, or as a service).
    NeedsAdministrator,
    // It still runs, or what it runs can no longer be told.
    Failed,
    // It is a part of Windows (IsPartOfWindows): never stopped.
    PartOfWindows,
};

// Stops the process with this id while it still runs the program that was
// detected: its image path, compared as ComparableProgramPath makes it,
// equals detectedPath's. Each attempt opens the process once, reads what it
// runs and ends it through that one handle, so that a program that has
// taken the id since is left alone, and so is any other process of the
// same name. On the NT family the debug privilege is held while the
// process is opened (it reaches the processes of other accounts). Up to 11
// attempts, each followed by a 1 ms look whether the process has ended all
// the same; a refusal for want of rights is final at once.
StopOutcome StopRunningProgram(platform::Processes& processes, platform::SystemInfo& system,
                               platform::FileSystem& files, std::uint32_t processId, std::string_view detectedPath);

// The same, true when the detected program no longer runs.
bool StopProcessById(platform::Processes& processes, platform::SystemInfo& system, platform::FileSystem& files,
                     std::uint32_t processId, std::string_view detectedPath);

}  // namespace bastion
