// Running another program from a Wine test and collecting what it printed:
// Wine's own tools (reg.exe) and the helper programs beside the tests.
#pragma once

#include <string>

namespace bastion::win32::test {

struct ChildResult {
    bool started = false;
    unsigned long exitCode = 0;
    // Standard output and standard error together, as bytes.
    std::string output;
};

// Runs the command line (UTF-8) with its output going to a pipe, reads the
// pipe to its end, then waits up to timeoutMs for the program to end (one
// still running then is ended).
ChildResult RunChild(const std::string& commandLine, unsigned long timeoutMs = 30000);

}  // namespace bastion::win32::test
