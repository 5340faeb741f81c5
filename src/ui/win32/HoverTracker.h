// Follows the mouse over an owner-drawn control, so that it can paint
// itself lit while the pointer is over it, and shows the hand pointer over
// controls that open something.
#pragma once

#include <functional>

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

class HoverTracker {
public:
    HoverTracker() = default;
    HoverTracker(const HoverTracker&) = delete;
    HoverTracker& operator=(const HoverTracker&) = delete;
    ~HoverTracker() { Detach(); }

    void Attach(HWND control, bool handCursor);
    void Detach();
    bool Hovering() const { return hovering_; }

    // Called when the pointer comes or goes.
    std::function<void()> onChange;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);
    void SetHovering(bool hovering);

    HWND control_ = nullptr;
    bool handCursor_ = false;
    bool hovering_ = false;
};

}  // namespace bastion::win32
