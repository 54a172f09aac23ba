#pragma once
// How FreeCell's dialogs come into being and go, as window events
// (SetWinEventHook, out of context) show them to another process: which
// events, how many, how long a burst lasts and where its gaps are, and when
// the dialog's controls are there to be used. A watcher that reacts to these
// events has to know how long to wait after a burst before it looks.
#include "bench/table.h"

namespace dw::bench {

// Opens and closes the practice FreeCell's select-game, win and no-more-moves
// dialogs openings times each, no Dealwarden running, and adds the figures
// to t.
void MeasureDialogEvents(int openings, Table& t);

}  // namespace dw::bench
