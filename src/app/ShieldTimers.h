// EnableShieldTimers: the switch of the background timers (the memory,
// home-page and file shields and the scheduler). Every long operation switches them
// off before its work and on again after it (through TimersHeld, so that
// no way out of the work leaves them off); the switch counts, so that
// operations inside one another (a shield tick that runs a scan's removal,
// an update inside a removal's wait) leave the timers off until the
// outermost one has finished. The count starts at one, held by the
// start-up, which lets go when it has completed.
//
// Switching off holds the timers rather than stopping them: their periods
// run on, and a timer that came due while held ticks once when the hold
// ends. A shield that looks every few seconds therefore never keeps the
// other timers from their turn, however often it holds them.
#pragma once

#include "services/operations/BackgroundWork.h"
#include "services/settings/SettingsStore.h"
#include "shields/HomePageShield.h"
#include "shields/MemoryShield.h"
#include "shields/file/FileShield.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

class ShieldTimers final : public services::BackgroundWork {
public:
    // Holds the form's background timers: nothing runs before start-up
    // completes.
    ShieldTimers(ui::FrmMain& form, const services::SettingsStore& settings);
    ShieldTimers(const ShieldTimers&) = delete;
    ShieldTimers& operator=(const ShieldTimers&) = delete;

    // false: one holder more, and every background timer is held. true: one
    // holder fewer; when none is left, the timers whose settings say so run
    // (those that were running go on with their periods). A true without a
    // matching false changes nothing.
    void EnableShieldTimers(bool enable);
    void Suspend() override { EnableShieldTimers(false); }
    void Resume() override { EnableShieldTimers(true); }

    // Some operation or the start-up holds the timers off.
    bool Held() const { return holders_ > 0; }
    int Holders() const { return holders_; }

    // An option switched one timer on or off: it stops at once; switched
    // on, it ticks once nothing holds the timers.
    void OptionChanged(ui::Timer& timer, bool enabled);

private:
    ui::FrmMain& form_;
    const services::SettingsStore& settings_;
    int holders_ = 1;
};

// The shields on their timers of the main window: tmrMemoryInspected looks
// at the running programs, tmrCheckHomePage at the start page (and stops
// once that shield is switched off).
void BindShieldTimers(ui::FrmMain& form, MemoryShield& memoryShield, HomePageShield& homePageShield);

// The file shield's looks on tmrFileShield: switched on when something
// arrives, off once nothing waits, so that an idle shield costs nothing;
// while a backlog waits, the looks come soon after one another.
void BindFileShieldTimer(ui::FrmMain& form, FileShield& fileShield);

}  // namespace bastion
