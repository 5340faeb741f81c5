#include "ui/win32/ModalLoop.h"

namespace bastion::win32 {

void RunModal(FormWindow& window, HWND owner, const std::function<bool()>& create) {
    ui::Form& form = window.Form();
    // The owner is held before the window shows: from its first moment on
    // screen, input goes to the modal window alone.
    const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
    form.SetVisible(false);
    if (!create()) {
        if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
        return;
    }
    // The close box hides the model as OK does, so that one rule ends the
    // loop.
    window.onClose = [&form] { form.SetVisible(false); };
    form.SetVisible(true);
    window.SyncAll();
    MSG message;
    while (window.Hwnd() && form.Visible()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the main loop must see the quit too.
            if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!::IsDialogMessageW(window.Hwnd(), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        window.SyncAll();
    }
    // Enabled before the window goes, so that the owner gets the
    // activation back rather than another program.
    if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
    window.Destroy();
    if (owner) ::SetActiveWindow(owner);
}

}  // namespace bastion::win32
