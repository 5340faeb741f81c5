// "bastion-scan update": the program's update flow without a window. Its
// progress goes to standard error, the result to standard output.
#pragma once

#include <atomic>
#include <string>

#include "cli/ConsoleOutput.h"
#include "platform/Platform.h"
#include "services/identity/Identity.h"

namespace bastion::cli {

// The status line as written when standard error is no terminal: a status
// that differs from the last written one only in its numbers (bytes
// received, lines checked) is not written again.
bool IsNewStatus(const std::string& last, const std::string& status);

// 0 when the definitions are up to date or were updated, 2 when they could
// not be downloaded, verified or saved, or Ctrl+C stopped the update.
int RunConsoleUpdate(platform::Platform& platform, const services::Identity& identity, ConsoleOutput& output,
                     std::atomic<bool>& interrupted);

}  // namespace bastion::cli
