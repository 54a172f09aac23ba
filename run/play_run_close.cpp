// The close procedure: every way of quitting, the watcher's when FreeCell is
// gone, and the session's end.
#include "freecell/freecell_asks.h"
#include "record/app_error.h"
#include "run/play_run.h"

namespace dw {

void PlayRun::FormClose() {
    AskToClose(s_.windows, FCHnd);
    if (saves_.Writes()) IniWrite();
}

void PlayRun::RequestClose(CloseAsk who) {
    if (closed_) return;
    if (who == CloseAsk::ByPlayer) {
        // Not twice while the question below is open: it is this close.
        if (closing_) return;
        // The taskbar entry and Alt+F4 are not greyed while the watcher waits
        // for FreeCell: the close is carried out as soon as the wait, cut
        // short for it, is over.
        if (busy_) {
            closeOwed_ = true;
            watcher_.StopWaiting();
            return;
        }
    }
    try {
        FormClose();
    } catch (const AppError& e) {
        if (who == CloseAsk::ByWatcher) {
            // FreeCell is gone and asks come every second: the record is kept
            // until a save succeeds.
            TellFailedSave(e.Message(), L"保存できしだい終了します");
            return;
        }
        // FreeCell has been told to close: from now on the watcher asks every
        // second, and this question already tells the player.
        saves_.FailureToTell();
        closing_ = true;
        const bool endUnsaved = s_.boxes.AskYesNo(ErrorBoxText(e.Message()) +
                                                  L"\r\n\r\n記録を保存せずに終了しますか？");
        closing_ = false;
        if (!endUnsaved) return;
    }
    if (closed_) return;  // closed beneath the box meanwhile
    Finish();
}

void PlayRun::Finish() {
    closed_ = true;
    scheduler_.Stop();
    s_.events.Unsubscribe();
    s_.timers.Stop(RunTimer::Timer1);
    s_.timers.Stop(RunTimer::EarlyTick);
    s_.timers.Stop(RunTimer::Save);
    s_.view.EndProgram();
}

void PlayRun::EndSession(bool ending) {
    // Windows is ending the session and will not wait for a close.
    if (!ending || closed_ || !saves_.Writes()) return;
    try {
        IniWrite();
    } catch (const AppError&) {
    }
}

}  // namespace dw
