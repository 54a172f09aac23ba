#pragma once
// The dialog watcher: it looks for FreeCell's three dialogs and reacts —
// types the next deal number, books a failed try, books a win and asks for
// the next deal — then checks that FreeCell is still there. It ticks once a
// second and, besides, soon after FreeCell shows a window; an early tick is
// the same tick, so what it does must not depend on when it runs: a dialog
// is filled once, a try or a win booked once.
#include <cstdint>
#include <functional>
#include <optional>
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
    // Windows 10/11's clipboard history, a remote desktop and clipboard tools
    // open the clipboard for a moment after every change: a clipboard busy
    // for less than this is tried again quietly, this often; a longer hold
    // ends the tick with the error, and the next tick tries again.
    static constexpr unsigned kClipboardBoundMs = 1000;
    static constexpr unsigned kClipboardRetryMs = 10;
    // FreeCell's paste finds the clipboard busy the same way and then does
    // nothing: the field is read back this often after the paste, pasted
    // again when it does not hold the number this long after a paste, and
    // past the bound its text is set directly. Enter is pressed only on a
    // field that holds the number.
    static constexpr unsigned kFieldPollMs = 1;
    static constexpr unsigned kRepasteMs = 30;
    static constexpr unsigned kFieldBoundMs = 1000;
    static constexpr unsigned kNoMoreMovesPollMs = 180;
    // Enter on the win dialog, then a moment for FreeCell to close it before
    // the next press: a dialog that does not close at once is not flooded.
    // Within that moment it is looked for this often, so that the next deal
    // is asked for as soon as it has gone.
    static constexpr unsigned kWinPressGapMs = 10;
    static constexpr unsigned kWinProbeMs = 2;
    // After this long of pressing (about three seconds) the dialog is left to
    // the player; the next deal is asked for once it is gone.
    static constexpr unsigned kWinPressBoundMs = 3000;
    // A win dialog not gone this long after its first Enter holds the
    // player's commands visibly (the bar greyed) until it is.
    static constexpr unsigned kHoldAfterMs = 100;
    // F3 reaches a FreeCell in a dialog or menu of its own (its statistics,
    // its Game menu, a dialog left from before the run) and is dropped there.
    // The select-game dialog is then asked for again once that is gone — no
    // sooner than this after the ask, and at most this many times an ask —
    // and FreeCell is looked at this often meanwhile.
    static constexpr unsigned kReaskAfterMs = 500;
    static constexpr int kReaskLimit = 5;
    static constexpr unsigned kBlockedPollMs = 250;
    // After a win's F3 the next select-game dialog is looked for in the
    // same tick, for this long: the window events of its creation would come
    // some milliseconds after it can be seen.
    static constexpr unsigned kNextDialogLookMs = 250;
    // A win dialog left to the player is looked for this often.
    static constexpr unsigned kLeftWinPollMs = 100;

    DialogWatcher(IWindowSystem& ws, TFCGameRecord& record, IScoreRequests& ui)
        : ws_(ws), record_(record), ui_(ui) {}
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // One tick. fcHnd is FreeCell's main window, ownHnd the window put back
    // on top after F3. Raises AppError (clipboard, a field that cannot be
    // filled); the tick then ends there.
    TickOutcome Timer1Timer(WindowHandle fcHnd, WindowHandle ownHnd);

    // The run begins: a no-more-moves or win dialog FreeCell shows now is
    // from a game before the run, not the run's own, and is never booked.
    // It is left to the player; the first deal follows once it is gone.
    void StartRun();
    // Asks FreeCell for the select-game dialog (the start, the retry, a
    // booked win): a select-game dialog seen from now on is a new one, even
    // if it reuses an old handle, and it is asked for again if FreeCell was
    // in a dialog or menu of its own.
    void AskForNextDeal(WindowHandle fcHnd, WindowHandle ownHnd);
    // A booked win whose dialog did not close on Enter is up: the next deal
    // is owed as soon as it goes.
    bool WinLeftToPlayer() const { return winLeft_; }
    // How soon the watcher wants to look again, when sooner than its
    // heartbeat: something it waits for may end any moment.
    std::optional<unsigned> LookAgainIn() const;
    // The program is to close: the tick running now stops waiting at its
    // next look and does nothing more.
    void StopWaiting() { stopping_ = true; }

private:
    void EnterDealNumber(WindowHandle hSel);
    void PutNumberOnClipboard(const std::wstring& text);
    bool FieldTakes(WindowHandle hSel, WindowHandle edit, const std::wstring& text);
    bool FieldHolds(WindowHandle edit, const std::wstring& text);
    void WaitNoMoreMovesGone(WindowHandle hLose);
    // FreeCell is in a dialog or menu of its own, none of the run's dialogs.
    bool FreeCellBusy(WindowHandle fcHnd, WindowHandle hSel, WindowHandle hLose, WindowHandle hWin);
    void AskAgainIfDropped(WindowHandle fcHnd, WindowHandle ownHnd, WindowHandle hSel,
                           WindowHandle hLose, WindowHandle hWin);
    void BookWin(WindowHandle hWin, WindowHandle fcHnd, WindowHandle ownHnd);
    // Presses Enter on the win dialog until it is gone (true) or the bound
    // is spent; meanwhile runs after the first press and at every look.
    bool DismissWin(WindowHandle hWin, const std::function<void()>& meanwhile);
    // A pause inside a wait; false when the wait is to end (the program ends).
    bool Pause(unsigned ms) { return ws_.Pause(ms) && !stopping_; }
    // Looks for the select-game dialog the F3 just asked for, and fills it.
    void AwaitNextDeal();
    std::uint64_t Since(std::uint64_t start) { return ws_.NowMs() - start; }

    IWindowSystem& ws_;
    TFCGameRecord& record_;
    IScoreRequests& ui_;
    // The select-game dialog given its number; it is closing, and a tick
    // that comes before it has gone must not paste again.
    WindowHandle filledSel_ = kNoWindow;
    bool winLeft_ = false;
    bool stopping_ = false;
    // Dialogs that were up when the run began: FreeCell's, not the run's.
    WindowHandle oldLose_ = kNoWindow, oldWin_ = kNoWindow;
    // An ask for the select-game dialog whose dialog has not come yet.
    bool awaiting_ = false;
    bool blocked_ = false;  // FreeCell was seen in something of its own since
    std::uint64_t askedAt_ = 0;
    int reasks_ = 0;
};

}  // namespace dw
