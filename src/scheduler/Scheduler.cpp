#include "scheduler/Scheduler.h"

namespace bastion {

namespace {
// More than any daylight-saving change: the clock itself was corrected.
constexpr long long kClockCorrectionSeconds = 25 * 60 * 60;
}  // namespace

Scheduler::Scheduler(platform::Clock& clock, const services::OperationGate& operations, std::function<void()> startScan)
    : clock_(clock), operations_(operations), startScan_(std::move(startScan)) {
    SetSchedule({});
}

void Scheduler::SetSchedule(const Schedule& schedule) {
    schedule_ = schedule;
    lastLocal_ = clock_.Now();
    lastUniversal_ = clock_.UniversalNow();
}

void Scheduler::CatchUp(const DateTime& lastLook) {
    if (!schedule_.enabled) return;
    if (const std::optional<DateTime> due = LatestOccurrence(schedule_, lastLook, lastLocal_)) Missed(*due);
}

void Scheduler::Missed(const DateTime& moment) {
    if (onMissed) onMissed(moment);
}

void Scheduler::CheckSchedule() {
    if (!operations_.Idle()) return;
    const DateTime now = clock_.Now();
    const DateTime universal = clock_.UniversalNow();
    const DateTime after = lastLocal_;
    const long long realSeconds = SecondsBetween(lastUniversal_, universal);
    lastLocal_ = now;
    lastUniversal_ = universal;
    if (lastFired_ && SecondsBetween(now, *lastFired_) > kClockCorrectionSeconds) lastFired_.reset();
    if (!schedule_.enabled) return;

    const std::optional<DateTime> due = LatestOccurrence(schedule_, after, now);
    if (!due || (lastFired_ && *due <= *lastFired_)) return;
    const bool onTime = SecondsBetween(*due, now) <= kGraceSeconds;
    const bool littleTimePassed = realSeconds >= 0 && realSeconds <= kGraceSeconds;
    lastFired_ = due;
    if (!onTime && !littleTimePassed) {
        Missed(*due);
        return;
    }
    if (startScan_) startScan_();
}

}  // namespace bastion
