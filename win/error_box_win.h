#pragma once
// Every box the program shows goes through here: it is owned by the window
// the player sees (the start window before the start, the score window
// after), and kept in front, over FreeCell: opened from a tick while FreeCell
// has the foreground, Windows would otherwise leave a box without an owner
// behind FreeCell while our windows wait for it.
#include <windows.h>

#include <functional>
#include <string>

namespace dw::win {

// Who owns the boxes from now on (nothing: no window to own them yet).
void SetBoxOwner(std::function<HWND()> owner);

// A message box over the owner, in front of every other program's windows.
int ShowBox(const std::wstring& text, const wchar_t* title, UINT type);

}  // namespace dw::win

namespace dw {

// The general error box: error icon, one OK, captioned with the application
// title. Events and timer ticks go on beneath it. The same message is not
// stacked while its box is still open (a tick failing every second would
// otherwise pile up boxes).
void ShowGeneralErrorBox(const std::wstring& message);

}  // namespace dw
