// The program in the notification area: going there (File > "Minimize to
// Tray", "Minimize", a start in the tray), the icon's clicks, the tray menu
// and coming back. The program is never out of reach: its window is hidden
// only while the shell holds its icon, and comes back to the taskbar when
// the icon is lost.
#pragma once

#include <functional>

#include "app/App.h"
#include "app/MainWindowLifecycle.h"
#include "ui/Tray.h"
#include "ui/forms/FrmMenuPopUp.h"

namespace bastion {

// What the native main window does for these steps.
struct TrayWindowSeams {
    // The window in normal state, shown and in front of the others.
    std::function<void()> restoreNormal;
    // The window is on the screen in normal or maximized state.
    std::function<bool()> shownOnScreen;
};

class NotificationArea {
public:
    // Takes over the lifecycle's tray seams: its exits remove the icon and
    // close the menu, and the task list entry is hidden only while the
    // icon is there.
    NotificationArea(App& app, ui::Tray& tray, MainWindowLifecycle& lifecycle, TrayWindowSeams seams);
    NotificationArea(const NotificationArea&) = delete;
    NotificationArea& operator=(const NotificationArea&) = delete;

    // Minimizes and hides the main window, announces the tray with the
    // menu, adds the icon and remembers the tray for the next start.
    void MinimizeToTray();
    // Double click and "Show Program": the window in normal state.
    void ShowProgram();
    void TrayEvent(ui::TrayEvent event);

    ui::FrmMenuPopUp menu;

private:
    void IconPresence(bool present);

    App& app_;
    ui::Tray& tray_;
    MainWindowLifecycle& lifecycle_;
    TrayWindowSeams seams_;
};

}  // namespace bastion
