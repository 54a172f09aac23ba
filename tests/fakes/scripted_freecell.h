#pragma once
// FreeCell as the fakes script it: its main window and one of each dialog,
// with the children the contract says they have, at handles a test can name.
#include <string>
#include <vector>

#include "freecell/contract.h"
#include "freecell/watcher.h"
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

// The calls of a number typed into a select-game dialog whose field takes
// the paste at once: put on the clipboard, the dialog brought to the front,
// the field selected and pasted into, read back after a moment, and Enter on
// its button.
inline std::vector<std::wstring> DealTyped(WindowHandle dialog, WindowHandle edit,
                                           WindowHandle button, const std::wstring& number) {
    using namespace freecell;
    return {L"SetClipboard " + number,
            L"Foreground " + std::to_wstring(dialog),
            Posted(edit, kSelectAll),
            Posted(edit, kPaste),
            L"Pause " + std::to_wstring(DialogWatcher::kFieldPollMs),
            L"GetText " + std::to_wstring(edit) + L" -> " + number,
            Posted(button, kEnter)};
}

}  // namespace dw::testing
