#pragma once
// What the two docked forms, the score window and the control bar, share:
// they read the run they belong to, are placed against FreeCell by visible
// frames (their own invisible borders allowed for), paint the bevel that
// fills their client area, and their close box only hides them.
#include <windows.h>

#include "run/docking.h"
#include "run/play_run.h"
#include "win/base_window_win.h"

namespace dw {

class DockedForm : public BaseWindow {
public:
    explicit DockedForm(PlayRun& run) : run_(run) {}

    // Places and sizes the form against FreeCell (run at creation).
    virtual void FormSet() = 0;
    // Moves and sizes the form so that its visible frame is this; what it
    // holds follows its size. A form minimized by its own box stays where
    // the player left it.
    void PlaceAt(const Rect& visible);
    // Its visible size: its rectangle less the invisible borders, as last
    // measured while it was shown (hidden, Windows does not tell them).
    SIZE VisibleSize() const;

protected:
    // The form's own messages; the shared ones never reach it.
    virtual LRESULT FormMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
        return Default(msg, wParam, lParam);
    }
    // Lays out what the form holds for its client size now.
    virtual void LayOut() = 0;
    // Draws what else the form puts on its background, inside the bevel.
    virtual void PaintMore(HDC) {}

    PlayRun& run_;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) final;
    void Paint();

    Insets insets_;
    bool laidOut_ = false;
};

}  // namespace dw
