// The scheduled scans: a tick every second compares the clock with the
// schedule held in memory and starts one scan per occurrence.
//
// - Each occurrence fires at most once: a scan shorter than a second is
//   not started again within its second.
// - An occurrence that no tick met (the timers were held off by another
//   operation, the machine was busy or asleep) still fires once when it
//   lies within the grace period, or when hardly any real time passed
//   since the last look (the clock was put forward, or jumped over the
//   hour that daylight-saving time skips).
// - An occurrence that starts no scan for any reason (too late for the
//   grace period, or while the program was not running) is reported as
//   missed, never dropped without a trace.
// - A clock put back fires nothing that already fired (the hour repeated
//   when daylight-saving time ends gives one scan). Put back by more than a
//   day (a wrong date corrected), the schedule starts afresh from the new
//   date.
// - Background work: a tick while another operation runs or a modal
//   window is open does nothing, and the next tick looks at the whole time
//   since the last look.
#pragma once

#include <functional>
#include <optional>

#include "common/DateTime.h"
#include "platform/Clock.h"
#include "scheduler/Schedule.h"
#include "services/operations/OperationGate.h"

namespace bastion {

class Scheduler {
public:
    // How late a missed occurrence still starts its scan.
    static constexpr long long kGraceSeconds = 10 * 60;

    // startScan runs one scheduled scan and returns when it has finished.
    Scheduler(platform::Clock& clock, const services::OperationGate& operations, std::function<void()> startScan);
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // The schedule from now on; occurrences before this moment never fire.
    void SetSchedule(const Schedule& schedule);
    const Schedule& Current() const { return schedule_; }
    // The program starts: the latest occurrence since the last look of an
    // earlier run (lastLook, by the local clock) is reported as missed.
    void CatchUp(const DateTime& lastLook);
    // When the scheduler last looked, by the local clock.
    const DateTime& LastLook() const { return lastLocal_; }

    // One tick of tmrScheduler.
    void CheckSchedule();

    // An occurrence that started no scan, by the local clock.
    std::function<void(const DateTime& moment)> onMissed;

private:
    void Missed(const DateTime& moment);

    platform::Clock& clock_;
    const services::OperationGate& operations_;
    std::function<void()> startScan_;
    Schedule schedule_;
    // The last look, by the local clock and by universal time.
    DateTime lastLocal_;
    DateTime lastUniversal_;
    std::optional<DateTime> lastFired_;
};

}  // namespace bastion
