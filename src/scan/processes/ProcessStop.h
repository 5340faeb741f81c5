// Ending a running program: the one a scan, the memory shield's alert or a
// removal detected, by its process id.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Processes.h"
#include "platform/SystemInfo.h"

namespace bastion {

// Ends the process with the exit code. On the NT family the debug privilege
// is enabled around the termination (so that processes of other accounts
// can be reached) and disabled again after it; the 95 family has no
// privileges. True when the process was terminated.
bool TerminateProcessById(platform::Processes& processes, platform::SystemInfo& system,
                          std::uint32_t processId, std::uint32_t exitCode);

// Stops the process with this id while it still runs the program that was
// detected: its image path, normalised as the process scan normalises
// paths, equals detectedPath (ignoring case). A program that has since
// taken the id is left alone, and so is any other process of the same name.
// Up to 11 attempts, each followed by a 1 ms look whether the process has
// ended all the same.
//
// True when the detected program no longer runs: stopped now, or ended
// before (the callers go on as if they had stopped it). False when it still
// runs, or its path can no longer be read to tell.
bool StopProcessById(platform::Processes& processes, platform::SystemInfo& system, std::uint32_t processId,
                     std::string_view detectedPath);

}  // namespace bastion
