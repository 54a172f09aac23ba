#pragma once
// The three dialogs Dealwarden watches for. Each runs the system's modal
// dialog loop (DialogBoxParamW): a posted Enter reaches a dialog's first
// Button the way it does in the real game only through that loop.
#include <windows.h>

#include <string>

#include "event_log_win.h"

namespace dw::practice {

struct SelectAnswer {
    bool ok = false;
    std::wstring text;  // the field exactly as confirmed
};
// initial: the number the field starts with, selected so a paste replaces it.
SelectAnswer RunSelectDialog(HWND owner, int initial, EventLog& log);

// Closes after enters presses of its default button (the real game needs one),
// or at once by its Cancel button.
void RunWinDialog(HWND owner, int enters, EventLog& log);

// The statistics (F4): closed only by its one button.
void RunStatsDialog(HWND owner, EventLog& log);

enum class StuckAnswer { Restart, End };
// autoMs >= 0: answers "restart" by itself after that long.
StuckAnswer RunStuckDialog(HWND owner, int autoMs, EventLog& log);

}  // namespace dw::practice
