// A window without a face for a form that has only timers (the website
// opener): a message-only window that runs the form's timers. Sync after a
// handler elsewhere changed them.
#pragma once

#include "ui/forms/Form.h"
#include "ui/win32/TimerBindings.h"
#include "ui/win32/Window.h"

namespace bastion::win32 {

class FormTimerWindow final : public Window {
public:
    explicit FormTimerWindow(ui::Form& form) : timers_(form) {}
    ~FormTimerWindow() override;

    bool Create();
    // Starts and stops the window timers as the timer models now say.
    void Sync() { timers_.Sync(Hwnd()); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TimerBindings timers_;
};

}  // namespace bastion::win32
