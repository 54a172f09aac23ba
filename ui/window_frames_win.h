#pragma once
// What Windows tells of where a window is, as the docking needs it: its
// visible frame (the desktop window manager's, where it reports one), the
// work area of its monitor, and a minimized window's restored frame.
#include <windows.h>

#include "freecell/window_system.h"
#include "run/docking.h"
#include "run/freecell_follower.h"

namespace dw {

Rect ToRect(const RECT& r);
// In this program's coordinates. Where dwmapi is missing or reports nothing
// (Windows 7 without Aero, Wine), the window's rectangle.
Rect VisibleFrameOf(HWND w);
Rect PrimaryWorkArea();
// FreeCell's window now; without it, the primary monitor's work area only.
FreeCellOnScreen LookAtFreeCell(HWND fc);

class Win32FreeCellScreen final : public IFreeCellScreen {
public:
    FreeCellOnScreen Look(WindowHandle fcHnd) override;
};

}  // namespace dw
