#pragma once
// When the watcher ticks besides its heartbeat: soon after a burst of
// FreeCell's window events has gone quiet, once for the whole burst, and
// never inside another tick — events that come while a tick runs (it may be
// waiting for a dialog to go) are worth one tick after it, no more.
#include <cstdint>

#include "run/timers.h"

namespace dw {

class TickScheduler {
public:
    // A dialog and its controls are created within a few milliseconds; the
    // tick comes this long after the last event of such a burst...
    static constexpr unsigned kQuietMs = 10;
    // ... but no later than this after its first, should the events go on.
    static constexpr unsigned kBurstLimitMs = 40;

    explicit TickScheduler(IRunTimers& timers) : timers_(timers) {}

    // A window of FreeCell's was created, shown, hidden, renamed...
    void OnEvent();
    // The early timer fired: true when the tick should run now.
    bool OnEarlyTimer();
    // A tick is about to run, whatever started it: it covers every event so
    // far. Ends with TickEnds.
    void TickBegins();
    void TickEnds();
    // A tick within ms unless one comes sooner (something is awaited).
    void TickSoon(unsigned ms);
    // The run is over: no tick is asked for again.
    void Stop();

private:
    void ArmAt(std::uint64_t due, std::uint64_t now);
    void Disarm();

    IRunTimers& timers_;
    bool inTick_ = false;
    bool owed_ = false;  // an event came during the tick
    bool stopped_ = false;
    bool armed_ = false;
    std::uint64_t due_ = 0;
    bool inBurst_ = false;  // armed by events, not only by TickSoon
    std::uint64_t burstStart_ = 0;
};

}  // namespace dw
