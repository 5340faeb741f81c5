// The console scanner's "quarantine" commands: listing what the quarantine
// holds, and putting items back.
#pragma once

#include "cli/CliArguments.h"
#include "cli/ConsoleOutput.h"
#include "platform/Platform.h"

namespace bastion::cli {

// quarantine list: one line per item, id, date, kind and original location
// separated by tabs; exit status 0.
// quarantine restore: one line per item asked for, "restored", "kept" (an
// existing file, without --overwrite) or "failed" (refused or not written;
// why on standard error), a tab and its location; 0 when every item came
// back, 2 otherwise (an unknown id included).
int RunQuarantineCommand(const Arguments& arguments, platform::Platform& platform, ConsoleOutput& output);

}  // namespace bastion::cli
