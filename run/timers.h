#pragma once
// The clock and the two timers of a run, behind a seam so that when ticks
// happen is decided and tested without Windows.
#include <cstdint>

namespace dw {

enum class RunTimer {
    Timer1,     // the watcher's heartbeat, once a second for the whole run
    EarlyTick,  // a tick right after FreeCell showed or changed a window
    Save,       // the save of a booking, a moment after it
};

class IRunTimers {
public:
    virtual ~IRunTimers() = default;
    // Fires every periodMs until stopped; starting a running timer restarts
    // its period from now. A period of 0 fires once, as soon as what came in
    // before it has been handled.
    virtual void Start(RunTimer timer, unsigned periodMs) = 0;
    virtual void Stop(RunTimer timer) = 0;
    // Milliseconds on a clock that only moves forward.
    virtual std::uint64_t NowMs() = 0;
};

}  // namespace dw
