// A native window bound to a C++ object: the object is handed to
// CreateWindowEx, the one window procedure binds it to its HWND at
// WM_NCCREATE and from then on forwards every message to HandleMessage.
// No exception leaves the procedure. The object destroys its window when it
// goes, and forgets it when the window goes first.
#pragma once

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

struct WindowClass {
    const wchar_t* name = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    UINT style = 0;
};

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Hwnd() const { return hwnd_; }

    // Destroys the window now (its children with it); nothing if it is gone.
    void Destroy();

    // The object bound to a window of this program; nullptr for another
    // window (a system control, another program's).
    static Window* FromHwnd(HWND window);

protected:
    Window() = default;

    // Registers the class once per process and creates the window bound to
    // this object. False when either fails.
    bool CreateBound(const WindowClass& windowClass, DWORD style, DWORD exStyle, HWND parent, const wchar_t* title,
                     int x, int y, int width, int height, HMENU menuOrId = nullptr);

    // What the window does with a message; the default is the system's.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace bastion::win32
