#pragma once
// When the watcher ticks besides its heartbeat: as soon as the window events
// of FreeCell's heard so far have been handled — one tick for all of them,
// never inside another tick. Events that come while a tick runs (it may be
// waiting for a dialog to go) are worth one tick after it, no more. A dialog
// is heard of when it is created, before its controls: the tick that sees it
// too early leaves it alone, and the events of its controls bring the next.
// No quiet period is waited for: a window timer cannot be shorter than
// 10 ms, nor finer than Windows' 15.6 ms clock, and each would be a pause the
// player feels at every game.
#include <cstdint>

#include "run/timers.h"

namespace dw {

class TickScheduler {
public:
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
};

}  // namespace dw
