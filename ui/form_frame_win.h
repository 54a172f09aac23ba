#pragma once
// What the two docked forms share: where things are on screen when they
// place themselves, and the bevel around their client area.
#include <windows.h>

#include <functional>
#include <optional>

#include "freecell/window_system.h"
#include "ui/docking.h"

namespace dw {

struct DockingView {
    std::optional<Rect> freecell;  // none when FreeCell's window is not there
    Rect workArea;
    Rect self;  // the form's own outer rectangle
};
DockingView DockingViewFor(HWND self, WindowHandle fcHnd);

// Paints the lowered bevel that fills a form's client area; more draws what
// else the form puts on its background.
void PaintFormBevel(HWND form, const std::function<void(HDC)>& more = {});

}  // namespace dw
