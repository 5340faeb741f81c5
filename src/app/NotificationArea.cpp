#include "app/NotificationArea.h"

#include "services/settings/SettingKeys.h"

namespace bastion {

NotificationArea::NotificationArea(App& app, ui::Tray& tray, MainWindowLifecycle& lifecycle, TrayWindowSeams seams)
    : app_(app), tray_(tray), lifecycle_(lifecycle), seams_(std::move(seams)) {
    MainWindowSeams& window = lifecycle_.Seams();
    window.removeTrayIcon = [this] { tray_.RemoveIcon(); };
    window.closeOtherWindows.push_back([this] { menu.Form_Unload(); });
    if (window.showInTaskList) {
        window.showInTaskList = [this, show = std::move(window.showInTaskList)](bool shown) {
            show(shown || !tray_.IconPresent());
        };
    }
    tray_.onEvent = [this](ui::TrayEvent event) { TrayEvent(event); };
    tray_.onPresence = [this](bool present) { IconPresence(present); };
    menu.showProgram = [this] { ShowProgram(); };
    menu.exitProgram = [this] { lifecycle_.CloseMainWindow(); };
}

void NotificationArea::MinimizeToTray() {
    namespace keys = services::settings;
    const std::string& name = app_.identity.productName;
    tray_.ShowIcon(name);
    if (lifecycle_.Seams().minimize) lifecycle_.Seams().minimize();
    // Without an icon a hidden window could not be reached again: it stays
    // minimized on the taskbar, and goes once the icon is there.
    if (tray_.IconPresent()) app_.form.SetVisible(false);
    menu.Form_Load(name, false);
    tray_.ChangeToolTip(name);
    app_.settings.Write(keys::kMinimized, keys::kYes);
}

void NotificationArea::ShowProgram() {
    app_.form.SetVisible(true);
    if (seams_.restoreNormal) seams_.restoreNormal();
}

void NotificationArea::TrayEvent(ui::TrayEvent event) {
    switch (event) {
        case ui::TrayEvent::Select:
        case ui::TrayEvent::KeySelect:
            menu.Form_Load(app_.identity.productName, seams_.shownOnScreen && seams_.shownOnScreen());
            if (event == ui::TrayEvent::KeySelect) menu.TakeFocus();
            break;
        case ui::TrayEvent::DoubleClick:
            ShowProgram();
            menu.Form_Unload();
            break;
    }
}

void NotificationArea::IconPresence(bool present) {
    MainWindowSeams& window = lifecycle_.Seams();
    if (present) {
        // A retried add came through: the minimized window goes to the tray
        // as it was asked to.
        if (app_.form.Visible() && !(seams_.shownOnScreen && seams_.shownOnScreen()) &&
            app_.settings.Read(services::settings::kMinimized) == services::settings::kYes) {
            app_.form.SetVisible(false);
        }
        return;
    }
    // Explorer went and the icon could not be added again: the window
    // comes back to the taskbar, minimized.
    if (window.showInTaskList) window.showInTaskList(true);
    if (!app_.form.Visible()) {
        app_.form.SetVisible(true);
        if (window.minimize) window.minimize();
    }
}

}  // namespace bastion
