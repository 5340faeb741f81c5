// Bastion.exe: the engine of one run (the app), the splash while it counts,
// then the main window with its handlers, loaded by the start-up sequence,
// and the message loop until an exit path ends the program.
#include "platform/win32/WindowsApi.h"

#include <dbt.h>

#include <memory>
#include <string>
#include <string_view>

#include "app/App.h"
#include "app/LanguageWindow.h"
#include "app/MainWindowHandlers.h"
#include "app/MainWindowLifecycle.h"
#include "app/StartupSequence.h"
#include "app/NotificationArea.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/ComSecurity.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "report/Feedback.h"
#include "ui/forms/FrmSplash.h"
#include "ui/win32/FormTimerWindow.h"
#include "ui/win32/FrmAboutWindow.h"
#include "ui/win32/FrmDeleteWindow.h"
#include "ui/win32/FrmDownloadWindow.h"
#include "ui/win32/FrmFileThreatAlertWindow.h"
#include "ui/win32/FrmHomePageChangedAlertWindow.h"
#include "ui/win32/FrmLanguageWindow.h"
#include "ui/win32/FrmMainWindow.h"
#include "ui/win32/FrmMenuPopUpWindow.h"
#include "ui/win32/FrmReportWindow.h"
#include "ui/win32/FrmRestoreWindow.h"
#include "ui/win32/FrmSignatureUpdatedWindow.h"
#include "ui/win32/FrmSpywareFoundAlertWindow.h"
#include "ui/win32/IdentityFromVersionResource.h"
#include "ui/win32/ClsTray.h"
#include "ui/win32/SecondStart.h"
#include "ui/win32/SplashWindow.h"
#include "ui/win32/TaskListEntry.h"
#include "ui/win32/Win32Dialogs.h"
#include "ui/win32/Win32EventPump.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"

namespace {

using bastion::MainWindowSeams;
using bastion::WindowShowState;

// What the native main window does for the start-up and exit sequences.
// Left empty for now: the hidden auxiliary window.
MainWindowSeams NativeSeams(bastion::win32::FrmMainWindow& window, bool& startMaximized) {
    MainWindowSeams seams;
    seams.showInTaskList = [&window](bool shown) { bastion::win32::ShowInTaskList(window.Hwnd(), shown); };
    seams.isMaximized = [&window] { return ::IsZoomed(window.Hwnd()) != FALSE; };
    seams.maximize = [&window, &startMaximized] {
        // Before the first show the window opens maximized.
        if (::IsWindowVisible(window.Hwnd())) {
            ::ShowWindow(window.Hwnd(), SW_MAXIMIZE);
        } else {
            startMaximized = true;
        }
    };
    seams.minimize = [&window] { ::ShowWindow(window.Hwnd(), SW_MINIMIZE); };
    // The window's end ends the message loop (quitOnDestroy).
    seams.endProgram = [&window] { ::DestroyWindow(window.Hwnd()); };
    return seams;
}

bastion::TrayWindowSeams TraySeams(bastion::win32::FrmMainWindow& window) {
    bastion::TrayWindowSeams seams;
    seams.restoreNormal = [&window] {
        ::ShowWindow(window.Hwnd(), SW_RESTORE);
        ::SetForegroundWindow(window.Hwnd());
    };
    seams.shownOnScreen = [&window] { return ::IsWindowVisible(window.Hwnd()) && !::IsIconic(window.Hwnd()); };
    return seams;
}

}  // namespace

// Started by a run that gave way to this one (with administrator rights).
bool StartedToReplaceAnotherRun(PCWSTR commandLine) {
    const std::wstring argument = bastion::win32::Widen(bastion::kRestartedArgument);
    return commandLine && std::wstring_view(commandLine).find(argument) != std::wstring_view::npos;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int show) {
    // The folder browser and the shell's verbs need COM on this thread.
    bastion::win32::ComApartment com;
    // Before any call crosses processes: restore points need it.
    bastion::win32::InitializeComSecurity();
    bastion::win32::Win32Platform platform;
    bastion::win32::Win32Dialogs dialogs;
    bastion::win32::Win32EventPump pump;
    // Started again with administrator rights: the definitions, which
    // decide what it deletes, do not come from files the user's programs
    // can write.
    const bool replacing = StartedToReplaceAnotherRun(commandLine);
    const std::unique_ptr<bastion::TrustedDefinitionFiles> trusted =
        replacing ? bastion::TrustedDefinitionsOf(platform.Get()) : nullptr;
    bastion::platform::Platform machine =
        trusted ? bastion::WithFiles(platform.Get(), *trusted) : platform.Get();
    bastion::App app(machine, dialogs, pump, bastion::win32::ReadOwnIdentity());
    if (trusted) app.reportNotes = [&trusted] { return bastion::SkippedDeltaNotes(*trusted); };
    bastion::ui::FrmMain& form = app.form;
    if (replacing) {
        // The run that started this one ends once it has; waited for longer,
        // this one gives way to it as any second start does.
        constexpr unsigned kReplacedRunEndsMs = 30000;
        bastion::win32::WaitForEarlierRunToEnd(app.identity.productName, kReplacedRunEndsMs);
    }
    // The language first: every window is created in it.
    app.languages.LoadLanguage(app.settings.Read(bastion::services::settings::kLanguage));
    bastion::win32::FrmMainWindow window(form, app.identity.productName);
    window.SetTranslator(&app.languages);
    bool startMaximized = false;
    bastion::MainWindowLifecycle lifecycle(app, NativeSeams(window, startMaximized));
    window.onClose = [&lifecycle] { lifecycle.CloseMainWindow(); };
    window.onSessionEnd = [&lifecycle] { lifecycle.SessionEnding(); };
    window.onResize = [&lifecycle, &window](bool minimized, bool maximized) {
        const WindowShowState state = minimized   ? WindowShowState::Minimized
                                      : maximized ? WindowShowState::Maximized
                                                  : WindowShowState::Normal;
        lifecycle.Resized(state, ::IsWindowVisible(window.Hwnd()) != FALSE);
    };

    // The program's icon in the notification area and its menu.
    bastion::win32::clsTray tray(window, 1);
    bastion::NotificationArea notificationArea(app, tray, lifecycle, TraySeams(window));
    bastion::win32::FrmMenuPopUpWindow menuWindow(notificationArea.menu, window);
    // A second start brings this window back, in front.
    const UINT showFirstRun = bastion::win32::ShowFirstRunMessage(app.identity.productName);
    window.onMessage = [&tray, &app, &window, &notificationArea, &form, showFirstRun](UINT message, WPARAM wParam,
                                                                                    LPARAM lParam) {
        if (showFirstRun != 0 && message == showFirstRun) {
            if (!form.Visible() || ::IsIconic(window.Hwnd())) {
                notificationArea.ShowProgram();
                notificationArea.menu.Form_Unload();
            }
            ::SetForegroundWindow(window.Hwnd());
            return true;
        }
        if (message == WM_DEVICECHANGE) {
            // A drive attached or taken away shows in the drive list at once;
            // the system's own handling goes on.
            if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) {
                app.RefreshDrives();
                window.SyncAll();
            }
            return false;
        }
        return tray.HandleMessage(message, wParam, lParam);
    };

    bastion::MainWindowActions actions;
    actions.minimizeToTray = [&notificationArea] { notificationArea.MinimizeToTray(); };
    actions.closeWindow = [&lifecycle] { lifecycle.CloseMainWindow(); };
    actions.closeSteps = [&lifecycle] { lifecycle.StoreWindowAndEnd(); };
    actions.showReportModal = [&window](bastion::ui::FrmReport& viewer) {
        bastion::win32::ShowFrmReportModal(viewer, window.Hwnd());
    };
    actions.showAboutModal = [&window](bastion::ui::FrmAbout& about) {
        bastion::win32::ShowFrmAboutModal(about, window.Hwnd());
    };
    actions.runLiveUpdate = [&app] { app.updates.RunLiveUpdate(); };
    actions.onlyShiftHeld = [] {
        return ::GetKeyState(VK_SHIFT) < 0 && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0;
    };
    actions.showDeleteFailedModal = [&window](bastion::ui::FrmDelete& failed) {
        bastion::win32::ShowFrmDeleteModal(failed, window.Hwnd());
    };
    actions.showRestoreModal = [&window](bastion::ui::FrmRestore& restore) {
        bastion::win32::ShowFrmRestoreModal(restore, window.Hwnd());
    };
    actions.sendAnonymousData = [&app] { bastion::SendAnonymousData(app.services); };
    actions.confirmSendData = [&app](bool ticked) { return app.feedback.ConfirmSendData(ticked); };
    // The language window: modal at the first start, before the main window
    // shows; from the Languages menu beside it, created on first use.
    bastion::LanguageWindow language(app);
    bastion::win32::FrmLanguageWindow languageWindow(language.form);
    language.retranslateOpenWindows = [&app] { bastion::win32::RetranslateOpenWindows(app.languages); };
    actions.changeLanguage = [&language, &languageWindow, &window] {
        language.Form_Load();
        if (!languageWindow.Hwnd()) languageWindow.Create(window.Hwnd());
        language.form.SetVisible(true);
        languageWindow.SyncAll();
    };
    bastion::MainWindowHandlers handlers(app, std::move(actions));
    bastion::MainWindowSeams& seams = lifecycle.Seams();
    seams.translate = [&app, &form](const std::string& chosen) { app.languages.ChangeLanguage(form, chosen); };
    seams.showLanguageChooser = [&language] {
        language.Form_Load();
        bastion::win32::ShowFrmLanguageModal(language.form, nullptr);
    };
    seams.closeOtherWindows.push_back([&language] { language.form.SetVisible(false); });
    seams.closeOtherWindows.push_back([&handlers] { handlers.About().SetVisible(false); });
    seams.closeOtherWindows.push_back([&handlers] { handlers.ReportViewer().SetVisible(false); });
    seams.closeOtherWindows.push_back([&app] { app.updates.popup.SetVisible(false); });
    seams.closeOtherWindows.push_back([&handlers] { handlers.RestoreWindow().SetVisible(false); });
    seams.closeOtherWindows.push_back([&app] { app.removal.deleteFailed.SetVisible(false); });
    seams.closeOtherWindows.push_back([&app] { app.alerts.homePageChanged.Dismiss(); });
    seams.closeOtherWindows.push_back([&app] { app.alerts.spywareFound.Dismiss(); });
    seams.closeOtherWindows.push_back([&app] { app.alerts.fileThreat.Dismiss(); });
    seams.closeOtherWindows.push_back([&app] { app.alerts.fileShieldNotice.SetVisible(false); });
    bastion::WebsiteOpener& website = handlers.Website();
    seams.websiteWindowVisible = [&website] { return website.Visible(); };
    website.form.onClosed = [&lifecycle] { lifecycle.WebsiteWindowClosed(); };
    bastion::win32::FormTimerWindow websiteTimers(website.form);
    websiteTimers.Create();
    // The update's windows, created with the main window and shown as their
    // models say.
    bastion::win32::FrmDownloadWindow downloadWindow(app.updates.download);
    bastion::win32::FrmSignatureUpdatedWindow popupWindow(app.updates.popup, window);
    // The progress window's own icon: taking it away leaves the main one.
    bastion::win32::clsTray downloadTray(downloadWindow, 2);
    bastion::ui::FrmDownload& download = app.updates.download;
    download.showTrayIcon = [&downloadTray, &app] {
        downloadTray.ShowIcon(app.messages.getMessages(bastion::services::msg::kDownloadTip));
    };
    download.removeTrayIcon = [&downloadTray] { downloadTray.RemoveIcon(); };
    downloadWindow.onMessage = [&downloadTray](UINT message, WPARAM wParam, LPARAM lParam) {
        return downloadTray.HandleMessage(message, wParam, lParam);
    };
    downloadTray.onEvent = [&](bastion::ui::TrayEvent event) {
        if (event != bastion::ui::TrayEvent::DoubleClick || !tray.bRunningInTray()) return;
        download.SetVisible(true);
        ::ShowWindow(downloadWindow.Hwnd(), SW_RESTORE);
    };
    // The shields' alerts, shown while their models say.
    bastion::win32::FrmSpywareFoundAlertWindow spywareAlert(app.alerts.spywareFound, window);
    bastion::win32::FrmHomePageChangedAlertWindow homePageAlert(app.alerts.homePageChanged);
    bastion::win32::FrmFileThreatAlertWindow fileThreatAlert(app.alerts.fileThreat, window);
    bastion::win32::FrmSignatureUpdatedWindow fileShieldNotice(app.alerts.fileShieldNotice, window);
    window.afterSync = [&websiteTimers, &downloadWindow, &popupWindow, &spywareAlert, &homePageAlert,
                        &fileThreatAlert, &fileShieldNotice, &languageWindow, &menuWindow] {
        websiteTimers.Sync();
        menuWindow.SyncAll();
        downloadWindow.SyncAll();
        popupWindow.SyncAll();
        spywareAlert.SyncAll();
        homePageAlert.SyncAll();
        fileThreatAlert.SyncAll();
        fileShieldNotice.SyncAll();
        languageWindow.SyncAll();
    };

    bastion::ui::FrmSplash splash;
    bastion::win32::SplashWindow splashWindow(splash);
    // A second run ends without showing its window, and asks the first run
    // forward only once its own windows are gone: one of them active would
    // take the front back from the first run's window.
    bool secondRun = false;
    splash.showMainWindow = [&] {
        if (!window.Create()) {
            ::PostQuitMessage(1);
            return;
        }
        dialogs.SetOwner(window.Hwnd());
        // A second start without administrator rights brings an elevated run
        // forward too: its message passes the filter that keeps the messages
        // of programs with fewer rights out.
        if (showFirstRun != 0) ::ChangeWindowMessageFilterEx(window.Hwnd(), showFirstRun, MSGFLT_ALLOW, nullptr);
        downloadWindow.Create(window.Hwnd());
        popupWindow.Create();
        menuWindow.Create();
        spywareAlert.Create();
        homePageAlert.Create();
        fileThreatAlert.Create();
        fileShieldNotice.Create(L"BastionFileShieldNotice");
        bastion::StartupSeams startupSeams;
        startupSeams.showWindow = [&window, &startMaximized, show] {
            // The loaded captions first: the window never shows without them.
            window.SyncAll();
            ::ShowWindow(window.Hwnd(), startMaximized ? SW_SHOWMAXIMIZED : show);
        };
        startupSeams.goToTray = [&handlers] { return handlers.GoToTray(); };
        bastion::StartupSequence startup(app, lifecycle, std::move(startupSeams));
        bastion::LoadResult loaded = bastion::LoadResult::SecondInstance;
        try {
            loaded = startup.Run();
        } catch (...) {
            ::PostQuitMessage(1);
            return;
        }
        // A second run shows the first one's window and ends, with status 0.
        if (loaded == bastion::LoadResult::SecondInstance) {
            secondRun = true;
            ::PostQuitMessage(0);
            return;
        }
        window.SyncAll();
    };
    splashWindow.SetTranslator(&app.languages);
    if (!splashWindow.Create()) return 1;
    splash.Form_Load(app.identity);
    splash.SetVisible(true);
    splashWindow.SyncAll();

    pump.SetAfterDispatch([&window, &secondRun] {
        if (!secondRun) window.SyncAll();
    });
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab and the arrow keys move between the controls, as in a dialog
        // (in the language window and the tray menu too).
        HWND dialog = window.Hwnd();
        const HWND root = message.hwnd ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (root && (root == menuWindow.Hwnd() || root == languageWindow.Hwnd())) dialog = root;
        if (!dialog || !::IsDialogMessageW(dialog, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (!secondRun) window.SyncAll();
    }
    if (secondRun) {
        window.Destroy();
        splashWindow.Destroy();
        bastion::win32::AskFirstRunToShowItself(app.identity.productName);
    }
    return static_cast<int>(message.wParam);
}
