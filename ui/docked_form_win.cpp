#include "ui/docked_form_win.h"

#include "win/handles_win.h"

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

LRESULT DockedForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_CLOSE:
            ShowWindow(Hwnd(), SW_HIDE);  // the close box only hides it
            return 0;
    }
    return FormMessage(msg, wParam, lParam);
}

void DockedForm::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    RECT r;
    GetClientRect(Hwnd(), &r);
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    PaintMore(dc);
    EndPaint(Hwnd(), &ps);
}

}  // namespace dw
