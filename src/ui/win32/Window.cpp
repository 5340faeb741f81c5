#include "ui/win32/Window.h"

namespace bastion::win32 {

Window::~Window() { Destroy(); }

void Window::Destroy() {
    if (!hwnd_) return;
    HWND window = hwnd_;
    // The messages of the destruction must not reach an object that is
    // being torn down.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    ::DestroyWindow(window);
}

bool Window::CreateBound(const WindowClass& windowClass, DWORD style, DWORD exStyle, HWND parent, const wchar_t* title,
                         int x, int y, int width, int height, HMENU menuOrId) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (!::GetClassInfoExW(instance, windowClass.name, &existing)) {
        WNDCLASSEXW registration{};
        registration.cbSize = sizeof(registration);
        registration.style = windowClass.style;
        registration.lpfnWndProc = Procedure;
        registration.hInstance = instance;
        registration.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        registration.hIcon = windowClass.icon;
        registration.hIconSm = windowClass.smallIcon;
        registration.lpszClassName = windowClass.name;
        if (!::RegisterClassExW(&registration)) return false;
    }
    return ::CreateWindowExW(exStyle, windowClass.name, title, style, x, y, width, height, parent, menuOrId, instance,
                             this) != nullptr;
}

Window* Window::FromHwnd(HWND window) {
    if (!window || reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) != Procedure) return nullptr;
    return reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Window*>(create->lpCreateParams);
        if (self) {
            self->hwnd_ = window;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // A failing handler leaves the window as it was; the message gets
        // the system's answer.
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace bastion::win32
