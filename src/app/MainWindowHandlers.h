// The main window's commands: page navigation, the home page's scan
// buttons, the scan and results pages' commands, the options page's
// storing controls, the menus, and the small windows (report viewer, about
// window, website opener, help opener). Constructing one attaches every
// handler to the app's form; it lives as long as the window.
#pragma once

#include "app/App.h"
#include "app/MainWindowActions.h"
#include "app/WebsiteOpener.h"
#include "ui/forms/FrmAbout.h"
#include "ui/forms/FrmReport.h"
#include "ui/forms/FrmRestore.h"

namespace bastion {

class MainWindowHandlers {
public:
    MainWindowHandlers(App& app, MainWindowActions actions);
    MainWindowHandlers(const MainWindowHandlers&) = delete;
    MainWindowHandlers& operator=(const MainWindowHandlers&) = delete;

    // The website opener; while it is open the program outlives its main
    // window.
    WebsiteOpener& Website() { return website_; }
    ui::FrmReport& ReportViewer() { return report_; }
    ui::FrmAbout& About() { return about_; }
    ui::FrmRestore& RestoreWindow() { return restore_; }

    // "Log File", File > "View Log" and "Show Report": the report viewer,
    // modally, with "Show Report" disabled meanwhile.
    void ShowReport();
    // Help > "View Help".
    void ViewHelp();
    // Quarantine > "View Exclusions".
    void ViewExclusions();
    // Quarantine > "View Quarantine": the folder in Explorer, created first
    // when missing.
    void ViewQuarantine();
    // Quarantine > "Restore...": the restore window, modally.
    void ShowRestore();
    // File > "Minimize to Tray"; false when the program has no way there.
    bool GoToTray();

private:
    void WireNavigation();
    void WireScanCommands();
    void WireMenus();

    App& app_;
    MainWindowActions actions_;
    WebsiteOpener website_;
    ui::FrmReport report_;
    ui::FrmAbout about_;
    ui::FrmRestore restore_;
};

}  // namespace bastion
