#include "app/MainWindowLifecycle.h"

#include "common/Rounding.h"
#include "common/Text.h"

namespace bastion {

void MainWindowLifecycle::Resized(WindowShowState state, bool visible) {
    namespace keys = ui::settings;
    ui::FrmMain& form = app_.form;
    if (state == WindowShowState::Normal) {
        form.tmrScroll.SetEnabled(true);
        form.tmrScheduler.SetEnabled(false);
        form.tmrMemoryInspected.SetEnabled(false);
        if (seams_.showInTaskList) seams_.showInTaskList(true);
        // A window shown on the desktop is not left in the tray.
        if (visible) app_.settings.Write(keys::kMinimized, keys::kNo);
    } else {
        if (seams_.showInTaskList) seams_.showInTaskList(false);
    }
}

void MainWindowLifecycle::CloseMainWindow() {
    namespace keys = ui::settings;
    app_.settings.Write(keys::kRestart, keys::kFalse);
    app_.settings.Write(keys::kStatus, keys::kStopped);
    IfSet(seams_.removeTrayIcon);
    StoreWindowAndEnd();
}

void MainWindowLifecycle::StoreWindowAndEnd() {
    namespace keys = ui::settings;
    const ui::ListView& results = app_.form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    for (std::size_t i = 0; i < results.Columns().size(); ++i) {
        app_.settings.WriteSetting(keys::kSectionSettings, keys::FoundColumnKey(static_cast<int>(i) + 1),
                                   ToDecimal(BankersRound(results.Columns()[i].widthTwips)));
    }
    const bool maximized = seams_.isMaximized && seams_.isMaximized();
    app_.settings.Write(keys::kMax, maximized ? keys::kChecked : keys::kUnchecked);

    IfSet(seams_.minimize);
    app_.form.SetVisible(false);
    for (const auto& close : seams_.closeOtherWindows) IfSet(close);

    if (seams_.websiteWindowVisible && seams_.websiteWindowVisible()) {
        endWhenWebsiteCloses_ = true;
        return;
    }
    End();
}

void MainWindowLifecycle::End() {
    // A scan running below this handler would otherwise go on to its end
    // with no window, keeping the program alive unseen.
    app_.state.RequestStop();
    IfSet(seams_.endProgram);
}

void MainWindowLifecycle::WebsiteWindowClosed() {
    if (!endWhenWebsiteCloses_) return;
    endWhenWebsiteCloses_ = false;
    End();
}

}  // namespace bastion
