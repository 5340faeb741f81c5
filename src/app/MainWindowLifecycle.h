// The main window from its load to the end of the program: the load
// sequence that registers the product, ends a second run and fills the home
// page; the rule that follows every change of the window's state; and the
// exit paths that publish the stopped state and store the window for the
// next start.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/App.h"

namespace bastion {

// What the native side of the main window does for these sequences. Every
// member may stay empty; an empty one is skipped.
struct MainWindowSeams {
    // Translates the main window into the language read at load.
    std::function<void(const std::string& language)> translate;
    // The language chooser of a first start, shown modally before the main
    // window.
    std::function<void()> showLanguageChooser;
    // The hidden auxiliary window, loaded once the program runs.
    std::function<void()> loadAuxiliaryWindow;
    // Shows or hides the program's entry in the system's task list. The
    // program hides it whenever it goes to the notification area; until
    // there is an icon there, a hidden entry would leave a minimized window
    // out of reach, so the window keeps its entry while this stays empty.
    std::function<void(bool shown)> showInTaskList;
    // Removes the icon of the notification area.
    std::function<void()> removeTrayIcon;

    std::function<bool()> isMaximized;
    std::function<void()> maximize;
    std::function<void()> minimize;
    // Closes a window other than the main one (help, about, report, ...),
    // one closer for each; run in order at exit.
    std::vector<std::function<void()>> closeOtherWindows;
    // While the website window is still visible, an exit waits for it to
    // close (see WebsiteWindowClosed).
    std::function<bool()> websiteWindowVisible;
    // Ends the program.
    std::function<void()> endProgram;
};

enum class WindowShowState { Normal, Minimized, Maximized };

// The argument of a run started by OfferElevatedRestart: it waits for the
// run that started it to end before it looks for another run.
inline constexpr std::string_view kRestartedArgument = "/restarted";

enum class LoadResult {
    Running,
    // Another run of the program was found: this one ends at once, without
    // a word.
    SecondInstance,
};

class MainWindowLifecycle {
public:
    // Takes over the handler of the form that is its own: tmrScroll's tick.
    MainWindowLifecycle(App& app, MainWindowSeams seams);
    MainWindowLifecycle(const MainWindowLifecycle&) = delete;
    MainWindowLifecycle& operator=(const MainWindowLifecycle&) = delete;

    MainWindowSeams& Seams() { return seams_; }

    // The load of the main window, from the sibling product to the window
    // caption, then whether the last exit left the window maximized (the
    // column widths come back with the option page). Run with the window
    // created and not yet shown.
    LoadResult Load();

    // Any change of the window's state (the layout has followed already).
    void Resized(WindowShowState state, bool visible);

    // The close box, "Exit" in the File menu and "Exit Program" in the tray
    // menu: publishes the stopped state, then stores the window and ends.
    // During an operation, the operation is asked to stop and the window
    // closes once it has returned.
    void CloseMainWindow();
    // The closing steps without the run state: store the window's column
    // widths and state, remove the tray icon, hide the window, close the
    // other windows and end. What the
    // close label lblHide does (the window's handlers attach it). Waits for
    // a running operation as CloseMainWindow does.
    void StoreWindowAndEnd();
    // Windows logs off or shuts down: the records of the exit path are
    // written at once, since the process ends when the notification
    // returns.
    void SessionEnding();
    // The website window went away: ends the program when an exit was
    // waiting for it.
    void WebsiteWindowClosed();
    // Running threats only an administrator may stop: asks whether to start
    // the program again with administrator rights, and on Yes starts it so
    // and ends this run (a declined elevation keeps this run going).
    void OfferElevatedRestart(const std::vector<std::string>& fileNames);

    // The language read at load ("English" unless chosen otherwise).
    const std::string& Language() const { return language_; }
    bool EndingWhenWebsiteCloses() const { return endWhenWebsiteCloses_; }

private:
    template <typename F>
    static void IfSet(const F& hook) {
        if (hook) hook();
    }
    bool AnotherInstanceRunning();
    void ShowHomePage();
    void RestoreWindow();
    void StoreStopped();
    void StoreWindow();
    void End();

    App& app_;
    MainWindowSeams seams_;
    std::string language_;
    bool endWhenWebsiteCloses_ = false;
};

}  // namespace bastion
