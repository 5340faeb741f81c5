// What the main window's commands need from outside the engine: the
// window's own steps (closing, showing the small windows modally), and the
// features that come later, each left empty until it exists. An empty
// action does nothing.
#pragma once

#include <functional>

#include "ui/forms/FrmAbout.h"
#include "ui/forms/FrmDelete.h"
#include "ui/forms/FrmReport.h"
#include "ui/forms/FrmRestore.h"

namespace bastion {

struct MainWindowActions {
    // The close mark "X": the closing steps of the window only; the run
    // state stays as it is.
    std::function<void()> closeSteps;
    // File > "Exit": closes the main window as its close box does.
    std::function<void()> closeWindow;
    // Show the window until the user closes it (its model turns invisible).
    std::function<void(ui::FrmReport&)> showReportModal;
    std::function<void(ui::FrmAbout&)> showAboutModal;
    std::function<void(ui::FrmDelete&)> showDeleteFailedModal;
    std::function<void(ui::FrmRestore&)> showRestoreModal;

    // Later features.
    std::function<void()> sendAnonymousData;
    std::function<bool(bool ticked)> confirmSendData;
    std::function<void()> runLiveUpdate;
    // Shift, and no other modifier, is held (Shift with "Update Now" lists
    // the vendor site's definition addresses first).
    std::function<bool()> onlyShiftHeld;
    std::function<void()> minimizeToTray;
    std::function<void()> changeLanguage;
};

}  // namespace bastion
