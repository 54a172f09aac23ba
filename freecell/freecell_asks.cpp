#include "freecell/freecell_asks.h"

namespace dw {

namespace {
// FreeCell needs a moment in front before it takes the posted menu keys.
constexpr unsigned kUndoFocusMs = 50;
}  // namespace

void AskForNextDeal(IWindowSystem& ws, WindowHandle fcHnd, WindowHandle own) {
    ws.SetForeground(fcHnd);
    for (const auto& m : freecell::OpenSelectGame()) ws.Post(fcHnd, m);
    ws.BringToTop(own);
}

void AskToUndo(IWindowSystem& ws, WindowHandle fcHnd, WindowHandle own) {
    ws.SetForeground(fcHnd);
    ws.Sleep(kUndoFocusMs);
    for (const auto& m : freecell::Undo()) ws.Post(fcHnd, m);
    ws.BringToTop(own);
}

void AskToClose(IWindowSystem& ws, WindowHandle fcHnd) {
    ws.SetForeground(fcHnd);
    ws.Post(fcHnd, freecell::kClose);
}

}  // namespace dw
