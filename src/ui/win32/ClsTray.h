// clsTray: one icon record in the notification area, a window and an id of
// its own, so that the main window's icon and the update's progress icon
// never take each other away. The icon speaks version 4 of the shell's
// protocol on a private callback message (a real mouse move over the
// window is never taken for a click), is added again when Explorer comes
// back ("TaskbarCreated") and, when the shell refuses it, retried every
// few seconds.
#pragma once

#include <string>

#include "platform/win32/WindowsApi.h"

#include <shellapi.h>

#include "ui/Tray.h"
#include "ui/win32/Window.h"

namespace bastion::win32 {

class clsTray final : public ui::Tray {
public:
    // The message the shell sends to the owner window for the icon.
    static constexpr UINT kCallbackMessage = WM_APP + 0x2A;

    // owner receives the icon's messages and passes them to HandleMessage.
    clsTray(const Window& owner, UINT id);
    ~clsTray() override;
    clsTray(const clsTray&) = delete;
    clsTray& operator=(const clsTray&) = delete;

    void ShowIcon(const std::string& tip) override;
    void RemoveIcon() override;
    void ChangeToolTip(const std::string& text) override;
    bool bRunningInTray() const override { return running_; }
    bool IconPresent() const override { return present_; }

    // The owner window's messages that concern the icon: its callback,
    // "TaskbarCreated" and the retry timer. True when it was one of them.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    NOTIFYICONDATAW Record(UINT flags) const;
    bool Add();
    void SetPresent(bool present);
    void Event(UINT notification);

    const Window& owner_;
    const UINT id_;
    const UINT taskbarCreated_;
    // The window the icon was added with: the owner forgets its handle
    // when it is destroyed, the shell still knows the icon by it.
    HWND hwnd_ = nullptr;
    std::wstring tip_;
    bool running_ = false;
    bool present_ = false;
    bool version4_ = false;
};

}  // namespace bastion::win32
