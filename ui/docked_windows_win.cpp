#include "ui/docked_windows_win.h"

#include "ui/CtrlF_win.h"
#include "ui/SeisekiF_win.h"
#include "ui/window_frames_win.h"
#include "win/handles_win.h"

namespace dw {

void DockedWindows::Attach(TFCSeisekiF* score, TFCCtrF* bar) {
    score_ = score;
    bar_ = bar;
}

DockedForm* DockedWindows::Form(DockedWindow w) const {
    return w == DockedWindow::Score ? static_cast<DockedForm*>(score_) : bar_;
}

DockSizes DockedWindows::Sizes() {
    const SIZE score = score_ ? score_->VisibleSize() : TFCSeisekiF::CreatedSize();
    const SIZE bar = bar_ ? bar_->VisibleSize() : TFCCtrF::CreatedSize();
    return {score.cx, score.cy, bar.cx, bar.cy};
}

void DockedWindows::Place(const DockedRects& where) {
    if (score_) score_->PlaceAt(where.score);
    if (bar_) bar_->PlaceAt(where.bar);
}

bool DockedWindows::Shown(DockedWindow w) {
    const DockedForm* f = Form(w);
    return f && IsWindowVisible(f->Hwnd());
}

void DockedWindows::Show(DockedWindow w, bool shown) {
    // SW_SHOWNA: the focus stays with FreeCell, a form minimized by its own box stays so.
    if (DockedForm* f = Form(w)) ShowWindow(f->Hwnd(), shown ? SW_SHOWNA : SW_HIDE);
}

void DockedWindows::KeepInFront(DockedWindow w, WindowHandle fcHnd) {
    const DockedForm* f = Form(w);
    const HWND fc = win::ToHwnd(fcHnd);
    if (!f || !fc) return;
    // Nothing to do while it stands above FreeCell in the z-order.
    for (HWND above = GetWindow(fc, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
        if (above == f->Hwnd()) return;
    SetWindowPos(f->Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

DockedRects CreationPlacement(WindowHandle fcHnd) {
    const FreeCellOnScreen s = LookAtFreeCell(win::ToHwnd(fcHnd));
    const SIZE score = TFCSeisekiF::CreatedSize(), bar = TFCCtrF::CreatedSize();
    return PlaceDocked(s.present ? std::optional<FreeCellFrame>(s.frame) : std::nullopt, s.workArea,
                       {score.cx, score.cy, bar.cx, bar.cy});
}

}  // namespace dw
