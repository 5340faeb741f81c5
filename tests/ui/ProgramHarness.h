// Starting the programs under test and talking to their windows from a test.
#pragma once

#include <windows.h>

#include <string>

namespace bastion::uitest {

// A Linux path of the build tree as Wine shows it (Z:\...).
std::wstring WinePath(const char* linuxPath);

// A started program; ended (terminated if still running) when destroyed.
class StartedProgram {
public:
    StartedProgram(const std::wstring& exe, const std::wstring& arguments);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD ProcessId() const { return processId_; }
    // The exit code, or STILL_ACTIVE when it has not ended within the time.
    DWORD WaitForExit(DWORD milliseconds);
    // The first visible top-level window of the process, waiting up to the
    // given time for it to appear.
    HWND WaitForWindow(DWORD milliseconds);

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Runs a console program to its end and returns what it wrote to stdout.
std::string RunAndCapture(const std::wstring& exe, const std::wstring& arguments, DWORD& exitCode);

std::wstring WindowText(HWND window);

}  // namespace bastion::uitest
