#pragma once
// FreeCell as the fakes script it: its main window and one of each dialog,
// with the children the contract says they have, at handles a test can name.
#include <string>

#include "freecell/contract.h"
#include "tests/fakes/fake_window_system.h"

namespace dw::testing {

inline constexpr WindowHandle kFreeCell = 100;
inline constexpr WindowHandle kSel = 10, kSelEdit = 11, kSelButton = 12;
inline constexpr WindowHandle kLose = 20;
inline constexpr WindowHandle kWon = 30, kWonButton = 31;

inline const std::wstring kSelTitle(freecell::CkWord[freecell::kSelectGame]);
inline const std::wstring kLoseTitle(freecell::CkWord[freecell::kNoMoreMoves]);
inline const std::wstring kWinTitle(freecell::CkWord[freecell::kWin]);

// FreeCell's main window there, and the dialogs' children wherever a script
// shows a dialog.
inline void AddFreeCell(FakeWindowSystem& ws) {
    ws.classes[std::wstring(freecell::kWindowClass)] = kFreeCell;
    ws.children[{kSel, std::wstring(freecell::kEditClass)}] = kSelEdit;
    ws.children[{kSel, std::wstring(freecell::kButtonClass)}] = kSelButton;
    ws.children[{kWon, std::wstring(freecell::kButtonClass)}] = kWonButton;
}

}  // namespace dw::testing
