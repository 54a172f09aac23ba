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
    // Each Subscribe starts over: what was subscribed before, moves too, ends.
    virtual bool Subscribe(WindowHandle fcHnd, std::function<void()> onEvent) = 0;
    // Besides, onMoved runs soon after fcHnd itself moved, changed size, was
    // minimized, restored or brought to the front: apart from onEvent, since
    // a drag brings floods of them and none of them is a dialog. Windows
    // sends these; Wine 8 none of another process's windows. false when it
    // cannot be done.
    virtual bool SubscribeMoves(WindowHandle fcHnd, std::function<void()> onMoved) = 0;
    // No call of either after this returns.
    virtual void Unsubscribe() = 0;
};

}  // namespace dw
