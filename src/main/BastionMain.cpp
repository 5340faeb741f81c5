// Bastion.exe: the engine of one run (the app) and the main window over its
// form model, with page navigation wired for now; the start-up sequence
// will own the model's handlers.
#include "platform/win32/WindowsApi.h"

#include "DemoNavigation.h"
#include "app/App.h"
#include "platform/win32/Win32Platform.h"
#include "ui/MessageCatalogue.h"
#include "ui/MessageKeys.h"
#include "ui/forms/FrmMain.h"
#include "ui/win32/FrmMainWindow.h"
#include "ui/win32/IdentityFromVersionResource.h"
#include "ui/win32/Win32Dialogs.h"
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
    bastion::win32::Win32Platform platform;
    bastion::win32::Win32Dialogs dialogs;
    bastion::win32::Win32EventPump pump;
    bastion::App app(platform.Get(), dialogs, pump, bastion::win32::ReadOwnIdentity());
    const bastion::ui::Identity& identity = app.identity;
    bastion::ui::FrmMain& form = app.form;
    ShowFirstStatus(form, identity, app.messages);
    bastion::win32::FrmMainWindow window(form, identity.productName);
    bastion::WireDemoNavigation(form, [&window] { ::PostMessageW(window.Hwnd(), WM_CLOSE, 0, 0); });
    if (!window.Create()) return 1;
    dialogs.SetOwner(window.Hwnd());
    ::ShowWindow(window.Hwnd(), show);
    form.SetVisible(true);
    window.SyncAll();

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
