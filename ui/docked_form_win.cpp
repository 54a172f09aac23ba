#include "ui/docked_form_win.h"

#include "ui/window_frames_win.h"
#include "win/gdi_win.h"

namespace dw {

void DockedForm::PlaceAt(const Rect& visible) {
    if (IsIconic(Hwnd())) return;
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    const Rect now = ToRect(r);
    if (IsWindowVisible(Hwnd())) insets_ = InsetsOf(now, VisibleFrameOf(Hwnd()));
    const Rect want = WindowRectFor(visible, insets_);
    if (want != now)
        SetWindowPos(Hwnd(), nullptr, want.left, want.top, want.Width(), want.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (want.Width() != now.Width() || want.Height() != now.Height() || !laidOut_) LayOut();
    laidOut_ = true;
}

SIZE DockedForm::VisibleSize() const {
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    return {r.right - r.left - insets_.left - insets_.right,
            r.bottom - r.top - insets_.top - insets_.bottom};
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
    win::PaintScope paint(Hwnd());
    RECT r = paint.Client();
    DrawEdge(paint.Dc(), &r, BDR_SUNKENOUTER, BF_RECT);
    PaintMore(paint.Dc());
}

}  // namespace dw
