#include "run/tick_scheduler.h"

namespace dw {

void TickScheduler::OnEvent() {
    if (stopped_) return;
    if (inTick_) {
        owed_ = true;
        return;
    }
    const std::uint64_t now = timers_.NowMs();
    ArmAt(now, now);
}

bool TickScheduler::OnEarlyTimer() {
    const bool due = armed_ && !stopped_ && !inTick_;
    Disarm();
    return due;
}

void TickScheduler::TickBegins() {
    inTick_ = true;
    owed_ = false;
    Disarm();
}

void TickScheduler::TickEnds() {
    inTick_ = false;
    if (!owed_ || stopped_) return;
    owed_ = false;
    const std::uint64_t now = timers_.NowMs();
    ArmAt(now, now);
}

void TickScheduler::TickSoon(unsigned ms) {
    if (stopped_ || inTick_) return;
    const std::uint64_t now = timers_.NowMs();
    if (armed_ && due_ <= now + ms) return;
    ArmAt(now + ms, now);
}

void TickScheduler::Stop() {
    stopped_ = true;
    owed_ = false;
    Disarm();
}

void TickScheduler::ArmAt(std::uint64_t due, std::uint64_t now) {
    // One tick already on its way covers whatever comes before it runs.
    if (armed_ && due_ <= due) return;
    due_ = due;
    armed_ = true;
    timers_.Start(RunTimer::EarlyTick, static_cast<unsigned>(due > now ? due - now : 0));
}

void TickScheduler::Disarm() {
    if (armed_) timers_.Stop(RunTimer::EarlyTick);
    armed_ = false;
}

}  // namespace dw
