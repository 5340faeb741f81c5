// A container window: a page of the main window, a frame of a tab. It
// paints its background (and a title, for a page) and hands what its
// children tell their parent (commands, notifications, owner drawing,
// colours) to the form window, so that a control's events reach its object
// however deep it sits.
#pragma once

#include <string>

#include "ui/win32/Window.h"

namespace bastion::win32 {

class ChildMessageSink {
public:
    virtual ~ChildMessageSink() = default;
    // True when the message was handled; result is then the answer.
    virtual bool OnChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
};

class Panel : public Window {
public:
    bool Create(HWND parent, ChildMessageSink& sink, COLORREF background);

    COLORREF Background() const { return background_; }
    // A title painted at the panel's top left; empty for none.
    void SetTitle(std::wstring title, HFONT font, int left, int top);
    // A thin line across the panel (below a row of tabs); empty for none.
    void SetRule(RECT line, COLORREF colour);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();

    ChildMessageSink* sink_ = nullptr;
    COLORREF background_ = RGB(255, 255, 255);
    std::wstring title_;
    HFONT titleFont_ = nullptr;
    int titleLeft_ = 0;
    int titleTop_ = 0;
    RECT rule_{};
    COLORREF ruleColour_ = 0;
};

// The messages a container passes on to the form window.
bool IsChildMessage(UINT message);

}  // namespace bastion::win32
