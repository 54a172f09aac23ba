#pragma once
// The score window and the control bar follow FreeCell's window: placed
// again whenever it moved, changed size, went to another monitor, or came
// back from being minimized; hidden while it is minimized. Told at every
// heartbeat and at FreeCell's window events; with nothing changed it only
// looks, so an idle run stays idle.
#include "freecell/window_system.h"
#include "run/docking.h"

namespace dw {

// What the docked windows need to know of FreeCell's main window.
struct FreeCellOnScreen {
    bool present = false;  // the window exists
    bool minimized = false;
    FreeCellFrame frame;  // while minimized, the frame it is restored to
    Rect workArea;        // of FreeCell's monitor; without FreeCell, the primary one's
    bool operator==(const FreeCellOnScreen&) const = default;
};

class IFreeCellScreen {
public:
    virtual ~IFreeCellScreen() = default;
    virtual FreeCellOnScreen Look(WindowHandle fcHnd) = 0;
};

enum class DockedWindow { Score, Bar };

// What the follower asks of the two docked windows.
class IDockedWindows {
public:
    virtual ~IDockedWindows() = default;
    virtual DockSizes Sizes() = 0;
    virtual void Place(const DockedRects& where) = 0;
    virtual bool Shown(DockedWindow w) = 0;
    virtual void Show(DockedWindow w, bool shown) = 0;
    // In front of FreeCell's window, without taking the focus from it.
    virtual void KeepInFront(DockedWindow w, WindowHandle fcHnd) = 0;
};

enum class LookCause { Heartbeat, FreeCellEvent };

class FreeCellFollower {
public:
    FreeCellFollower(IFreeCellScreen& screen, IDockedWindows& windows)
        : screen_(screen), windows_(windows) {}

    // The start button asks FreeCell for a deal, which a minimized FreeCell
    // would not act on: true when it is minimized and the caller restores
    // it. Until FreeCell is seen restored, or the next heartbeat, the windows
    // are not hidden for it.
    bool RestoreBeforeAsking(WindowHandle fcHnd);
    // The docked windows have just been shown: placed now, whatever was seen.
    void PlaceNow(WindowHandle fcHnd);
    void Look(WindowHandle fcHnd, LookCause cause);

private:
    void Follow(WindowHandle fcHnd, const FreeCellOnScreen& seen, bool force);
    void Place(const FreeCellOnScreen& seen, const DockSizes& sizes);

    IFreeCellScreen& screen_;
    IDockedWindows& windows_;
    bool looked_ = false;
    FreeCellOnScreen last_;
    DockSizes lastSizes_;
    DockedRects placed_;
    bool restoring_ = false;
    bool away_ = false;  // hidden because FreeCell is minimized
    // The windows that were shown when FreeCell was minimized: one the
    // player closed stays closed.
    bool scoreWasShown_ = false, barWasShown_ = false;
};

}  // namespace dw
