#pragma once
// The dialog watcher: it looks for FreeCell's three dialogs and reacts —
// types the next deal number, books a failed try, books a win and asks for
// the next deal — then checks that FreeCell is still there. It ticks once a
// second and, besides, soon after FreeCell shows a window; an early tick is
// the same tick, so what it does must not depend on when it runs: a dialog
// is filled once, a try or a win booked once.
#include <cstdint>
#include <string>

#include "freecell/window_system.h"
#include "record/game_record.h"

namespace dw {

// What a tick asks of the score window and the control bar; the run's
// windows take them as they are.
class IScoreRequests {
public:
    virtual ~IScoreRequests() = default;
    virtual void ShowTryCount(std::int32_t tryCnt) = 0;
    virtual void SetGameBoxToOne() = 0;
    virtual void InsertHistoryLine(const std::wstring& line) = 0;
    virtual void Refresh() = 0;  // HyoujiUpdate
    // A wait for FreeCell begins (true) or ends: the player's commands are
    // not taken meanwhile, and the windows show it.
    virtual void HoldInput(bool held) = 0;
};

// How a tick ended, for the run to act on once it is over.
struct TickOutcome {
    // No FreeCell window any more: the program is to close.
    bool freeCellGone = false;
};

class DialogWatcher {
public:
    // Another program rewriting the clipboard must not freeze us: the number
    // is put and read back this many times, this far apart, then we give up
    // until the next tick.
    static constexpr int kClipboardAttempts = 5;
    static constexpr unsigned kClipboardRetryMs = 40;
    static constexpr unsigned kNoMoreMovesPollMs = 180;
    // Enter on the win dialog, then a moment for FreeCell to close it before
    // the next press: a dialog that does not close at once is not flooded.
    // Within that moment it is looked for this often, so that the next deal
    // is asked for as soon as it has gone.
    static constexpr unsigned kWinPressGapMs = 10;
    static constexpr unsigned kWinProbeMs = 2;
    // After this many presses (about three seconds) the dialog is left to
    // the player; the next deal is asked for once it is gone.
    static constexpr int kWinPressLimit = 300;

    DialogWatcher(IWindowSystem& ws, TFCGameRecord& record, IScoreRequests& ui)
        : ws_(ws), record_(record), ui_(ui) {}
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // One tick. fcHnd is FreeCell's main window, ownHnd the window put back
    // on top after F3. Raises AppError (clipboard); the tick then ends there.
    TickOutcome Timer1Timer(WindowHandle fcHnd, WindowHandle ownHnd);

    // F3 was posted by someone else (start, retry): a select-game dialog
    // seen from now on is a new one, even if it reuses an old handle.
    void NextDealAsked() { filledSel_ = kNoWindow; }
    // A booked win whose dialog did not close on Enter is up: the next deal
    // is owed as soon as it goes.
    bool WinLeftToPlayer() const { return winLeft_; }

private:
    void EnterDealNumber(WindowHandle hSel);
    void PutNumberOnClipboard(const std::wstring& text);
    void WaitNoMoreMovesGone(WindowHandle hLose);
    void AskForTheNextDeal(WindowHandle fcHnd, WindowHandle ownHnd);
    void BookWin(WindowHandle hWin, WindowHandle fcHnd, WindowHandle ownHnd);
    bool DismissWin(WindowHandle hWin);

    IWindowSystem& ws_;
    TFCGameRecord& record_;
    IScoreRequests& ui_;
    // The select-game dialog given its number; it is closing, and a tick
    // that comes before it has gone must not paste again.
    WindowHandle filledSel_ = kNoWindow;
    bool winLeft_ = false;
};

}  // namespace dw
