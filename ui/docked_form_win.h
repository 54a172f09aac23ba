#pragma once
// What the two docked forms, the score window and the control bar, share:
// they read the run they belong to and FreeCell's window through the run,
// place themselves against FreeCell, paint the bevel that fills their client
// area, and their close box only hides them.
#include <windows.h>

#include <functional>
#include <optional>

#include "freecell/window_system.h"
#include "run/docking.h"
#include "run/play_run.h"
#include "win/base_window_win.h"

namespace dw {

struct DockingView {
    std::optional<Rect> freecell;  // none when FreeCell's window is not there
    Rect workArea;
    Rect self;  // the form's own outer rectangle
};
DockingView DockingViewFor(HWND self, WindowHandle fcHnd);

class DockedForm : public BaseWindow {
public:
    explicit DockedForm(PlayRun& run) : run_(run) {}

    // Places and sizes the form against FreeCell (run at creation).
    virtual void FormSet() = 0;

protected:
    // Where FreeCell, the work area and the form are now.
    DockingView Docking() const { return DockingViewFor(Hwnd(), run_.FreeCell()); }
    // The form's own messages; the shared ones never reach it.
    virtual LRESULT FormMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
        return Default(msg, wParam, lParam);
    }
    // Draws what else the form puts on its background, inside the bevel.
    virtual void PaintMore(HDC) {}

    PlayRun& run_;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) final;
    void Paint();
};

}  // namespace dw
