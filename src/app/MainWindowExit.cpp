#include "app/MainWindowLifecycle.h"

#include "common/Rounding.h"
#include "common/Text.h"
#include "services/messages/GuardMessages.h"

namespace bastion {

void MainWindowLifecycle::Resized(WindowShowState state, bool visible) {
    namespace keys = services::settings;
    ui::FrmMain& form = app_.form;
    // The taskbar button follows the window's visibility alone: a
    // maximized or minimized window on the desktop keeps it.
    if (seams_.showInTaskList) seams_.showInTaskList(visible);
    if (state == WindowShowState::Normal) {
        // The shields and the scheduler keep running while the window is
        // shown: only the timers' switch turns them off.
        form.tmrScroll.SetEnabled(true);
        // A window shown on the desktop is not left in the tray.
        if (visible) app_.settings.Write(keys::kMinimized, keys::kNo);
    }
}

void MainWindowLifecycle::CloseMainWindow() {
    // An operation running below this handler is asked to stop at its next
    // safe point; the window closes once it has returned.
    if (app_.operations.Running()) {
        app_.operations.EndWhenIdle([this] { CloseMainWindow(); });
        return;
    }
    StoreStopped();
    StoreWindowAndEnd();
}

void MainWindowLifecycle::StoreStopped() {
    namespace keys = services::settings;
    app_.settings.Write(keys::kRestart, keys::kFalse);
    app_.settings.Write(keys::kStatus, keys::kStopped);
}

void MainWindowLifecycle::SessionEnding() {
    // The process ends as soon as this returns: what the exit path records
    // is written now, and a running operation is asked to stop.
    app_.operations.EndWhenIdle(nullptr);
    StoreStopped();
    IfSet(seams_.removeTrayIcon);
    StoreWindow();
}

void MainWindowLifecycle::StoreWindowAndEnd() {
    if (app_.operations.Running()) {
        app_.operations.EndWhenIdle([this] { StoreWindowAndEnd(); });
        return;
    }
    StoreWindow();
    // Every exit takes the icon, "X" too: an icon left behind would
    // outlive the program.
    IfSet(seams_.removeTrayIcon);
    // Nothing starts in the background while the program goes.
    app_.shieldTimers.EnableShieldTimers(false);

    IfSet(seams_.minimize);
    app_.form.SetVisible(false);
    for (const auto& close : seams_.closeOtherWindows) IfSet(close);

    if (seams_.websiteWindowVisible && seams_.websiteWindowVisible()) {
        endWhenWebsiteCloses_ = true;
        return;
    }
    End();
}

void MainWindowLifecycle::StoreWindow() {
    namespace keys = services::settings;
    const ui::ListView& results = app_.form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    for (std::size_t i = 0; i < results.Columns().size(); ++i) {
        app_.settings.WriteSetting(keys::kSectionSettings, keys::FoundColumnKey(static_cast<int>(i) + 1),
                                   ToDecimal(BankersRound(results.Columns()[i].widthTwips)));
    }
    const bool maximized = seams_.isMaximized && seams_.isMaximized();
    app_.settings.Write(keys::kMax, maximized ? keys::kChecked : keys::kUnchecked);
    // Scheduled moments from here to the next start are found missed then.
    app_.settings.Write(keys::kScheduleLastLook, FormatGeneralDate(app_.scheduler.LastLook()));
}

void MainWindowLifecycle::OfferElevatedRestart(const std::vector<std::string>& fileNames) {
    if (app_.operations.Ending()) return;
    std::string text;
    for (const std::string& name : fileNames) text += name + "\r\n";
    text += "\r\n" + app_.messages.getMessages(services::msg::kRestartElevated);
    if (app_.dialogs.MessageBox(text, app_.identity.productName, services::MsgButtons::YesNo,
                                services::MsgIcon::Exclamation) != services::MsgResult::Yes) {
        return;
    }
    // The new run waits for this one to end before it looks for others.
    if (!app_.platform.shell.StartElevated(app_.platform.system.ProgramPath(), std::string(kRestartedArgument))) return;
    CloseMainWindow();
}

void MainWindowLifecycle::End() { IfSet(seams_.endProgram); }

void MainWindowLifecycle::WebsiteWindowClosed() {
    if (!endWhenWebsiteCloses_) return;
    endWhenWebsiteCloses_ = false;
    End();
}

}  // namespace bastion
