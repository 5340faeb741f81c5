// The Windows console of bastion-scan: its output streams (UTF-8 text shown
// in any script, whether they are a console or a pipe) and its Ctrl+C and
// Ctrl+Break.
#pragma once

#include <atomic>

#include "cli/ConsoleOutput.h"

namespace bastion::win32 {

// Writes in UTF-8 while it lives, and gives the console back its own output
// code page when it goes, so the terminal it ran in shows as before.
class Win32Console final : public cli::ConsoleOutput {
public:
    Win32Console();
    ~Win32Console() override;
    Win32Console(const Win32Console&) = delete;
    Win32Console& operator=(const Win32Console&) = delete;

    void Out(std::string_view text) override;
    void Err(std::string_view text) override;
    bool ErrIsTerminal() const override { return errIsConsole_; }
    int ErrWidth() const override;

private:
    void* out_;
    void* err_;
    bool outIsConsole_;
    bool errIsConsole_;
    // 0 without a console.
    unsigned previousOutputCodePage_;
};

// Installs the console control handler for Ctrl+C and Ctrl+Break and
// returns the flag it sets (from the thread the system runs handlers on).
// Closing the console still ends the program as usual.
std::atomic<bool>& InstallConsoleInterruptHandler();

// What the handler does for one control event: true when the event is
// taken (noted in the flag) and the program goes on.
bool HandleConsoleControl(unsigned long controlType);

}  // namespace bastion::win32
