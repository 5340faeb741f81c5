#include "main/ConsoleControl.h"

#include "platform/win32/WindowsApi.h"

#include <string>

#include "platform/win32/WideText.h"

namespace bastion::win32 {

namespace {

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

void Write(HANDLE handle, bool isConsole, std::string_view text) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) return;
    if (isConsole) {
        std::wstring wide = Widen(text);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    DWORD written = 0;
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// The system calls the handler without any context of ours, so the flag it
// sets can only live here; it is the one thing the handler's thread and the
// scan's thread share.
std::atomic<bool>& InterruptFlag() {
    static std::atomic<bool> interrupted{false};
    return interrupted;
}

BOOL WINAPI ConsoleControlHandler(DWORD controlType) { return HandleConsoleControl(controlType) ? TRUE : FALSE; }

}  // namespace

Win32Console::Win32Console()
    : out_(GetStdHandle(STD_OUTPUT_HANDLE)),
      err_(GetStdHandle(STD_ERROR_HANDLE)),
      outIsConsole_(IsConsole(out_)),
      errIsConsole_(IsConsole(err_)),
      previousOutputCodePage_(GetConsoleOutputCP()) {
    SetConsoleOutputCP(CP_UTF8);
}

Win32Console::~Win32Console() {
    if (previousOutputCodePage_ != 0) SetConsoleOutputCP(previousOutputCodePage_);
}

void Win32Console::Out(std::string_view text) { Write(out_, outIsConsole_, text); }

void Win32Console::Err(std::string_view text) { Write(err_, errIsConsole_, text); }

int Win32Console::ErrWidth() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (errIsConsole_ && GetConsoleScreenBufferInfo(err_, &info)) {
        int width = info.srWindow.Right - info.srWindow.Left + 1;
        if (width > 0) return width;
    }
    return 80;
}

bool HandleConsoleControl(unsigned long controlType) {
    if (controlType == CTRL_C_EVENT || controlType == CTRL_BREAK_EVENT) {
        InterruptFlag() = true;
        return true;
    }
    return false;
}

std::atomic<bool>& InstallConsoleInterruptHandler() {
    // A process started in a new process group has Ctrl+C switched off by
    // the system; switched on here, it reaches the handler too.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(ConsoleControlHandler, TRUE);
    return InterruptFlag();
}

}  // namespace bastion::win32
