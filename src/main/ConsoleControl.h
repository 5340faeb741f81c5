// The Windows console of bastion-scan: its output streams (UTF-8 text shown
// in any script, whether they are a console or a pipe) and its Ctrl+C and
// Ctrl+Break.
#pragma once

#include <atomic>

#include "cli/ConsoleOutput.h"

namespace bastion::win32 {

class Win32Console final : public cli::ConsoleOutput {
public:
    Win32Console();

    void Out(std::string_view text) override;
    void Err(std::string_view text) override;
    bool ErrIsTerminal() const override { return errIsConsole_; }
    int ErrWidth() const override;

private:
    void* out_;
    void* err_;
    bool outIsConsole_;
    bool errIsConsole_;
};

// Installs the console control handler for Ctrl+C and Ctrl+Break and
// returns the flag it sets (from the thread the system runs handlers on).
// Closing the console still ends the program as usual.
std::atomic<bool>& InstallConsoleInterruptHandler();

// What the handler does for one control event: true when the event is
// taken (noted in the flag) and the program goes on.
bool HandleConsoleControl(unsigned long controlType);

}  // namespace bastion::win32
