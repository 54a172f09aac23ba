#pragma once
// FreeCell's window events: the watcher ticks as soon as FreeCell shows a
// dialog instead of waiting for its next heartbeat.
#include <functional>

#include "freecell/window_system.h"

namespace dw {

class IFreeCellEvents {
public:
    virtual ~IFreeCellEvents() = default;
    // From now on onEvent runs (on this thread, from its message loop) soon
    // after a window of fcHnd's process is created, shown, hidden, destroyed
    // or renamed, or a dialog of it starts. Windows sends all of these; Wine
    // only the creation. false when it cannot be done (no FreeCell window,
    // no hook): nothing is called then, and the heartbeat alone remains.
    virtual bool Subscribe(WindowHandle fcHnd, std::function<void()> onEvent) = 0;
    // No call after this returns.
    virtual void Unsubscribe() = 0;
};

}  // namespace dw
