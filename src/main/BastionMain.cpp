// Bastion.exe: the main window over its form model, with page navigation
// wired for now; the start-up sequence will own the model and its handlers.
#include <windows.h>

#include "DemoNavigation.h"
#include "ui/DefaultMessages.h"
#include "ui/MessageCatalogue.h"
#include "ui/MessageKeys.h"
#include "ui/forms/FrmMain.h"
#include "ui/win32/FrmMainWindow.h"
#include "ui/win32/IdentityFromVersionResource.h"
#include "ui/win32/Win32EventPump.h"

namespace {

// What the home page shows before anything was scanned or removed.
void ShowFirstStatus(bastion::ui::FrmMain& form, const bastion::ui::Identity& identity,
                     const bastion::ui::MessageCatalogue& messages) {
    using namespace bastion::ui;
    form.SetCaption(messages.getMessages(msg::kCaption));
    form.frmStatus.SetCaption(identity.productName + " Status");
    form.cmdWebsite.SetCaption(identity.website);
    form.Label22.SetCaption(messages.getMessages(msg::kCaption2));
    form.lblVersion.SetCaption(identity.VersionText());
    form.lblDefRemoved.SetCaption("0");
    form.lblLastScan.SetCaption("Never");
    form.lblLastFullScan.SetCaption("Never");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    const bastion::ui::Identity identity = bastion::win32::ReadOwnIdentity();
    bastion::ui::MessageCatalogue messages(identity);
    bastion::ui::FillDefaultMessages(messages);

    bastion::ui::FrmMain form;
    ShowFirstStatus(form, identity, messages);
    bastion::win32::FrmMainWindow window(form, identity.productName);
    bastion::WireDemoNavigation(form, [&window] { ::PostMessageW(window.Hwnd(), WM_CLOSE, 0, 0); });
    if (!window.Create()) return 1;
    ::ShowWindow(window.Hwnd(), show);
    form.SetVisible(true);
    window.SyncAll();

    bastion::win32::Win32EventPump pump;
    pump.SetAfterDispatch([&window] { window.SyncAll(); });
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab and the arrow keys move between the controls, as in a dialog.
        if (!::IsDialogMessageW(window.Hwnd(), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        window.SyncAll();
    }
    return static_cast<int>(message.wParam);
}
