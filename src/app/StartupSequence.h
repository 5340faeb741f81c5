// The program's start-up in one place: the main window's load (the product
// registered, a second run ended, the definitions counted, the home page
// filled), then its completion: the option page as stored with the
// background timers, the delete-list window, help at the first start, the
// automatic update, the desktop or the notification area as the last run
// left it, and the greeting of a first start with its offer to update.
// Every step after the load runs even when the one before it failed.
#pragma once

#include <functional>

#include "app/App.h"
#include "app/MainWindowLifecycle.h"

namespace bastion {

// What the native side does for the completion. An empty member is
// skipped.
struct StartupSeams {
    // The delete-list window, created without being shown.
    std::function<void()> loadDeleteListWindow;
    // The main window on the desktop.
    std::function<void()> showWindow;
    // The one way to the notification area (File > "Minimize to Tray"):
    // false when the program could not go there, and the window is shown
    // instead, so that it is never out of reach.
    std::function<bool()> goToTray;
};

// The option page as stored: the schedule tab, the drive list, the storing
// controls and the run-at-start-up box with its label. The storing handlers
// must be attached (a MainWindowHandlers exists) so that defaults that
// differ from the page's first state are written back.
void LoadOptionPage(App& app);

class StartupSequence {
public:
    StartupSequence(App& app, MainWindowLifecycle& lifecycle, StartupSeams seams);
    StartupSequence(const StartupSequence&) = delete;
    StartupSequence& operator=(const StartupSequence&) = delete;

    // The whole start-up. SecondInstance: this run ends at once.
    LoadResult Run();
    // Everything after the load, in order.
    void Complete();

    // The steps of Complete, one by one.
    // The option page restored while the timers are held, then the timers
    // let go: the shields and the scheduler start as the options say.
    void RestoreOptionsAndStartTimers();
    void LoadDeleteListWindow();
    // The help file, once per user.
    void ShowHelpAtFirstStart();
    void StartAutomaticUpdate();
    // The notification area when the last run was left there (or for the
    // product that always starts there when run at start-up), else the
    // desktop.
    void ShowWindowOrGoToTray();
    // Once per machine (once per user where the machine-wide note cannot
    // be kept): thanks, and an update now on Yes.
    void GreetFirstStart();

private:
    App& app_;
    MainWindowLifecycle& lifecycle_;
    StartupSeams seams_;
};

}  // namespace bastion
