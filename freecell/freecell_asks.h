#pragma once
// What Dealwarden asks of FreeCell's main window, each written once: the
// start button, the retry button and a booked win all ask for the next deal.
#include "freecell/window_system.h"

namespace dw {

// FreeCell in front, F3 down and up (its select-game dialog opens), then the
// asking window back on top so it stays visible beside FreeCell.
void AskForNextDeal(IWindowSystem& ws, WindowHandle fcHnd, WindowHandle own);

// FreeCell in front, a moment for it to take the keyboard, then Alt+G, U
// (Game menu, Undo) and the asking window back on top.
void AskToUndo(IWindowSystem& ws, WindowHandle fcHnd, WindowHandle own);

// FreeCell in front, then WM_CLOSE.
void AskToClose(IWindowSystem& ws, WindowHandle fcHnd);

}  // namespace dw
