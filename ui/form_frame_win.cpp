#include "ui/form_frame_win.h"

#include "freecell/win32_raii_win.h"

namespace dw {
namespace {

Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

DockingView DockingViewFor(HWND self, WindowHandle fcHnd) {
    DockingView v;
    RECT r{};
    if (fcHnd != kNoWindow && GetWindowRect(win::ToHwnd(fcHnd), &r)) v.freecell = ToRect(r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    v.workArea = ToRect(r);
    GetWindowRect(self, &r);
    v.self = ToRect(r);
    return v;
}

void PaintFormBevel(HWND form, const std::function<void(HDC)>& more) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(form, &ps);
    RECT r;
    GetClientRect(form, &r);
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    if (more) more(dc);
    EndPaint(form, &ps);
}

}  // namespace dw
