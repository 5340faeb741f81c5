// Starting the programs under test and talking to their windows from a test.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace bastion::uitest {

// A Linux path of the build tree as Wine shows it (Z:\...).
std::wstring WinePath(const char* linuxPath);

// A started program; ended (terminated if still running) when destroyed.
class StartedProgram {
public:
    // securityDescriptor (SDDL), when given, is the process object's: what
    // other programs may do to it.
    StartedProgram(const std::wstring& exe, const std::wstring& arguments, const wchar_t* securityDescriptor = nullptr);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD ProcessId() const { return processId_; }
    // The exit code, or STILL_ACTIVE when it has not ended within the time.
    DWORD WaitForExit(DWORD milliseconds);
    // The first visible application window of the process (top-level, not
    // owned, not a tool window such as the splash), waiting up to the given
    // time for it to appear.
    HWND WaitForWindow(DWORD milliseconds);
    // The first top-level window of the process of that class, visible or
    // not, polling every few milliseconds for up to the given time.
    HWND WaitForWindowOfClass(const wchar_t* className, DWORD milliseconds);

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Runs a console program to its end and returns what it wrote to stdout.
std::string RunAndCapture(const std::wstring& exe, const std::wstring& arguments, DWORD& exitCode);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// The first window below parent (at any depth) of that class whose text is
// the given one; nullptr when there is none.
HWND FindDescendant(HWND parent, const wchar_t* className, const std::wstring& text);
// Every window below parent (at any depth) of that class.
std::vector<HWND> FindDescendants(HWND parent, const wchar_t* className);

// Memory in the process that owns a window, for the messages whose
// arguments point to memory: a list view of another program reads and
// writes its arguments in its own address space. Works for the test's own
// windows too.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, std::size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address_ != nullptr; }
    void* Address() const { return address_; }
    bool Write(const void* data, std::size_t size, std::size_t offset = 0);
    bool Read(void* data, std::size_t size, std::size_t offset = 0) const;

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

// What a list view shows, read through its messages.
int ListViewItemCount(HWND list);
std::wstring ListViewItemText(HWND list, int row, int column);
std::vector<std::wstring> ListViewColumns(HWND list);
// The list view below window whose columns are exactly these.
HWND FindListView(HWND window, const std::vector<std::wstring>& columns);

// The rectangle of a tab of a tab control, in the control's coordinates.
RECT TabItemRect(HWND tabs, int index);

// A left click at a point of a window's client area, as the mouse would;
// posted, so the window handles it when its thread next looks.
void ClickAt(HWND window, POINT point);

// Lets the test's own windows handle their messages for a while.
void PumpMessagesFor(DWORD milliseconds);

}  // namespace bastion::uitest
