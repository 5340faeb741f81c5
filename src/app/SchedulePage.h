// The Schedule tab of the options page: "Enable Scheduled Scans", the day
// list, the date and time pickers, "Delete spyware automatically after
// scheduled scan", "Reset" and "Apply". What the controls show is stored
// only by "Apply" (the automatic removal box also at its own click), and
// only a stored schedule runs: "Apply" hands it to the scheduler.
#pragma once

#include <string>

#include "app/ShieldTimers.h"
#include "scheduler/Scheduler.h"
#include "services/Services.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

struct SchedulePageEnvironment : services::Services {
    ui::FrmMain& form;
    ShieldTimers& timers;
    Scheduler& scheduler;
};

class SchedulePage {
public:
    // Attaches the handlers of the tab's controls.
    explicit SchedulePage(SchedulePageEnvironment environment);
    SchedulePage(const SchedulePage&) = delete;
    SchedulePage& operator=(const SchedulePage&) = delete;

    // The controls as stored, and the scheduler's schedule with them. Like
    // any filling from code it stores nothing, starts no timer and leaves
    // "Apply" disabled.
    void ShowSchedule();
    // "Apply": refuses a schedule that can never run (no time; no date for
    // "Date & Time"), warns of a date gone by, then stores the schedule,
    // switches tmrScheduler and shows what was stored.
    void SaveSchedule();
    // "Reset": the controls as on a fresh profile (scheduled scans off,
    // Daily, no date or time, no automatic removal), stored by "Apply".
    void cmdDefaultSetting_Click();

private:
    // The day list and the pickers enabled as the box and the day say.
    void ShowControlStates();
    // The user changed something: "Apply" may store it.
    void Changed();
    void Tell(std::string_view messageKey, services::MsgIcon icon);

    SchedulePageEnvironment env_;
    // Set while code fills the controls: their handlers then do nothing.
    bool filling_ = false;
};

}  // namespace bastion
