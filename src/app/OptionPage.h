// The options page's controls that keep a setting: each click stores the
// control's state under its key (the shield controls also switch their
// shield's timer), and at start the page is restored from the stored values
// through the same handlers, so a key whose default differs from the
// control's first state is written back on the first start.
#pragma once

#include <functional>
#include <string>

#include "services/messages/MessageCatalogue.h"
#include "services/settings/SettingsStore.h"
#include "app/ShieldTimers.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

struct OptionPageHooks {
    // Asked before "chkSendData" is stored; false keeps the stored value.
    // Without a hook the box is stored directly.
    std::function<bool(bool ticked)> confirmSendData;
};

// Attaches the click handlers of the storing controls (those of the
// schedule tab are the schedule page's), and the drive
// list's tick handling (every tick rewrites the ticks of all drives). A
// shield or schedule option switches its timer through the timers' switch:
// while an operation or the start-up holds the timers, it only stores.
void BindOptionControls(ui::FrmMain& form, services::SettingsStore& settings, ShieldTimers& timers,
                        OptionPageHooks hooks = {});

// The option page as stored, in the start-up order: shields, report,
// scan parts, the scan type the schedule starts, automatic update, the
// drive ticks and the results list's column widths (the schedule tab is
// the schedule page's). definitionDate: the date the last update brought.
void RestoreOptionPage(ui::FrmMain& form, services::SettingsStore& settings, const services::MessageCatalogue& messages,
                       const std::string& definitionDate);

// "Signatures Last Updated On" and the definition date, in the catalogue's
// language.
std::string LastUpdateText(const services::MessageCatalogue& messages, const std::string& definitionDate);

}  // namespace bastion
