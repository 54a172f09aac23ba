#pragma once
// The dialog watcher: once a second it looks for FreeCell's three dialogs and
// reacts — types the next deal number, books a failed try, books a win and
// asks for the next deal — then checks that FreeCell is still there.
#include <cstdint>
#include <string>

#include "freecell/window_system.h"
#include "record/game_record.h"

namespace dw {

// What a tick asks of the user interface; the start window connects these
// to the score window and to its own close.
class IWatcherRequests {
public:
    virtual ~IWatcherRequests() = default;
    virtual void ShowTryCount(std::int32_t tryCnt) = 0;
    virtual void SetGameBoxToOne() = 0;
    virtual void InsertHistoryLine(const std::wstring& line) = 0;
    virtual void Refresh() = 0;
    virtual void CloseProgram() = 0;
    // F3 has just asked FreeCell for the next deal: the select-game dialog
    // is about to appear, and need not wait for the next second to be filled.
    virtual void NextDealAsked() {}
};

class DialogWatcher {
public:
    // Another program rewriting the clipboard must not freeze us: the number
    // is put and read back this many times, this far apart, then we give up
    // until the next tick.
    static constexpr int kClipboardAttempts = 5;
    static constexpr unsigned kClipboardRetryMs = 40;
    static constexpr unsigned kNoMoreMovesPollMs = 180;

    DialogWatcher(IWindowSystem& ws, TFCGameRecord& record, IWatcherRequests& ui)
        : ws_(ws), record_(record), ui_(ui) {}
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // One tick. fcHnd is FreeCell's main window, ownHnd the window put back
    // on top after F3. Raises AppError (clipboard); the tick then ends there.
    void Timer1Timer(WindowHandle fcHnd, WindowHandle ownHnd);

private:
    void EnterDealNumber(WindowHandle hSel);
    void PutNumberOnClipboard(const std::wstring& text);
    void WaitNoMoreMovesGone();
    void BookWin(WindowHandle hWin, WindowHandle fcHnd, WindowHandle ownHnd);

    IWindowSystem& ws_;
    TFCGameRecord& record_;
    IWatcherRequests& ui_;
};

}  // namespace dw
