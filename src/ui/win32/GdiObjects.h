// Owners of the drawing and menu handles the windows create: fonts,
// brushes, pens, bitmaps, image lists, icons that are not shared, menus.
#pragma once

#include "platform/win32/Handles.h"

#include <commctrl.h>

namespace bastion::win32 {

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
// HFONT, HBRUSH, HPEN and HBITMAP alike; Get() is cast to the kind held.
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;

struct ImageListTraits {
    using Type = HIMAGELIST;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::ImageList_Destroy(h); }
};
using UniqueImageList = UniqueResource<ImageListTraits>;

// A menu that no window owns (a window destroys its own menu bar).
struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::DestroyMenu(h); }
};
using UniqueMenu = UniqueResource<MenuTraits>;

// An icon loaded for the program's own use (not a shared one).
struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type h) { return h != nullptr; }
    static void Close(Type h) { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueResource<IconTraits>;

// A device context of a window, released when done.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_) ::SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace bastion::win32
