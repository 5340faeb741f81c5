// Bastion.exe: the engine of one run (the app) and the main window over its
// form model with the window's handlers attached.
#include "platform/win32/WindowsApi.h"

#include "app/App.h"
#include "app/MainWindowHandlers.h"
#include "platform/win32/Win32Platform.h"
#include "ui/MessageCatalogue.h"
#include "ui/MessageKeys.h"
#include "ui/forms/FrmMain.h"
#include "ui/win32/FormTimerWindow.h"
#include "ui/win32/FrmAboutWindow.h"
#include "ui/win32/FrmMainWindow.h"
#include "ui/win32/FrmReportWindow.h"
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
    auto postClose = [&window] { ::PostMessageW(window.Hwnd(), WM_CLOSE, 0, 0); };
    bastion::MainWindowActions actions;
    actions.closeWindow = postClose;
    actions.closeSteps = postClose;
    actions.showReportModal = [&window](bastion::ui::FrmReport& viewer) {
        bastion::win32::ShowFrmReportModal(viewer, window.Hwnd());
    };
    actions.showAboutModal = [&window](bastion::ui::FrmAbout& about) {
        bastion::win32::ShowFrmAboutModal(about, window.Hwnd());
    };
    bastion::MainWindowHandlers handlers(app, std::move(actions));
    bastion::LoadOptionPage(app);
    bastion::win32::FormTimerWindow websiteTimers(handlers.Website().form);
    websiteTimers.Create();
    window.afterSync = [&websiteTimers] { websiteTimers.Sync(); };
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
