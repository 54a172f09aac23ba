#include "run/tick_scheduler.h"

#include <algorithm>

namespace dw {

void TickScheduler::OnEvent() {
    if (stopped_) return;
    if (inTick_) {
        owed_ = true;
        return;
    }
    const std::uint64_t now = timers_.NowMs();
    const bool newBurst = !inBurst_;
    if (newBurst) {
        inBurst_ = true;
        burstStart_ = now;
    }
    // Each event of a burst pushes the tick back, up to the limit; a tick
    // already due sooner for another reason stays.
    std::uint64_t due = std::min(now + kQuietMs, burstStart_ + kBurstLimitMs);
    if (newBurst && armed_) due = std::min(due, due_);
    ArmAt(due, now);
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
    inBurst_ = true;
    burstStart_ = now;
    ArmAt(now + kQuietMs, now);
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
    if (armed_ && due == due_) return;
    due_ = due;
    armed_ = true;
    timers_.Start(RunTimer::EarlyTick, static_cast<unsigned>(due > now ? due - now : 0));
}

void TickScheduler::Disarm() {
    if (armed_) timers_.Stop(RunTimer::EarlyTick);
    armed_ = false;
    inBurst_ = false;
}

}  // namespace dw
