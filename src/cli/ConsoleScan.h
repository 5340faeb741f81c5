// The console scanner's run: one scan through the scan engine, as the
// program's Start button runs it, its detections and counters written out,
// and an exit status a script can test.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/ConsoleOutput.h"
#include "platform/Platform.h"
#include "scan/results/ScanResults.h"
#include "services/identity/Identity.h"

namespace bastion::cli {

inline constexpr int kExitNothingFound = 0;
inline constexpr int kExitThreatsFound = 1;
inline constexpr int kExitError = 2;

// 0 or 1 for a completed scan as it found nothing or something; 2 for
// anything else: an error is never 1 and a found threat never 0.
int ExitStatus(ScanOutcome outcome, bool threatsFound);

// The detections of a scan, one line each: threat name, location, type and
// risk, separated by tabs. The removable ones first, then the running
// programs the process scan found, stopped or not, with what became of
// each.
std::vector<std::string> DetectionLines(const ScanResults& results);

// Runs the scan the arguments ask for; returns the exit status.
// interrupted is set from outside (Ctrl+C) and taken as a Stop.
int RunConsoleScan(const Arguments& arguments, platform::Platform& platform, const services::Identity& identity,
                   ConsoleOutput& output, std::atomic<bool>& interrupted);

}  // namespace bastion::cli
