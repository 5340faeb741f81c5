// Ending a running program: by process id, and by the file name a
// definition or an alert names. Used by the process scan, the memory
// shield's alert and the removal of a running executable.
#pragma once

#include <cstdint>
#include <string>
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

// Stops the first running process of that file name. A process also counts
// as that program when it is listed under the name's short form
// ("spyware_agent.exe" runs as "SPYWAR~1.EXE") or under a name that agrees
// with it on the first 15 characters (names of 16 or more) or up to the
// first ".". Up to 11 attempts, each followed by a 1 ms look whether the
// process has ended all the same.
//
// True when the process was stopped, and also when no process of that name
// runs: the callers take true as "it no longer runs" (removal then goes on
// to quarantine the file, the shield shows no failure). False when the
// process could not be stopped or the processes could not be listed.
bool StopProcessByName(platform::Processes& processes, platform::SystemInfo& system, std::string_view fileName);

// "spyware_agent.exe" -> "SPYWAR~1": the name without ".exe", cut to 6
// characters when 7 or longer, upper-cased, "~1" appended.
std::string ShortProcessName(std::string_view fileName);

}  // namespace bastion
