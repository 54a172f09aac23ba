// The close procedure: every way of quitting, the watcher's when FreeCell is
// gone, and the session's end. Each hands the record to the writer and waits
// for it, bounded by the clock; meanwhile the windows answer (their messages
// are dispatched) but nothing of the run's runs: no tick, no command, no
// second close.
#include <utility>

#include "freecell/freecell_asks.h"
#include "record/app_error.h"
#include "record/scope_guard.h"
#include "run/play_run.h"

namespace dw {
namespace {

// Sets a flag for as long as the scope lasts and puts back what it was: the
// session's end may come while a close or a tick waits.
auto RaisedFor(bool& flag) {
    const bool was = std::exchange(flag, true);
    return ScopeGuard([&flag, was] { flag = was; });
}

}  // namespace

PlayRun::CloseSave PlayRun::SaveForClose(unsigned boundMs) {
    if (!saves_.Writes()) return {CloseSave::Written, {}};
    IniWrite();
    bool finished;
    {
        const auto busy = RaisedFor(busy_);
        const auto closing = RaisedFor(closing_);
        finished = s_.saves.WaitWritten(boundMs);
    }
    // The last outcome is this record's: it replaced any that was waiting.
    const auto failure = TakeWrites();
    if (!finished) return {CloseSave::Unfinished, {}};
    if (failure) return {CloseSave::Failed, *failure};
    return {CloseSave::Written, {}};
}

PlayRun::CloseSave PlayRun::FormClose() {
    AskToClose(s_.windows, FCHnd);
    return SaveForClose(kCloseWaitMs);
}

void PlayRun::RequestClose(CloseAsk who) {
    if (closed_) return;
    if (who == CloseAsk::ByWatcher) {
        WatchersClose();
        return;
    }
    // Not twice while a close waits for the writer or asks: it is this close.
    if (closing_) return;
    // The taskbar entry and Alt+F4 are not greyed while the watcher waits
    // for FreeCell: the close is carried out as soon as the wait, cut short
    // for it, is over.
    if (busy_) {
        closeOwed_ = true;
        watcher_.StopWaiting();
        return;
    }
    PlayersClose();
}

// The record first: a file that cannot be written is asked about while
// FreeCell still runs, so that No leaves the player both, as they were.
void PlayRun::PlayersClose() {
    const auto closing = RaisedFor(closing_);
    const CloseSave saved = SaveForClose(kCloseWaitMs);
    if (saved.kind == CloseSave::Failed) {
        // This question tells the player; later failures stay quiet until a
        // save succeeds.
        saves_.FailureToTell();
        const bool endUnsaved = s_.boxes.AskYesNo(ErrorBoxText(saved.failure) +
                                                  L"\r\n\r\n記録を保存せずに終了しますか？");
        if (!endUnsaved) return;
    } else if (saved.kind == CloseSave::Unfinished) {
        TellUnfinished();
    }
    if (closed_) return;  // closed beneath the box meanwhile
    AskToClose(s_.windows, FCHnd);
    Finish();
}

void PlayRun::WatchersClose() {
    const CloseSave saved = FormClose();
    if (saved.kind == CloseSave::Failed) {
        // FreeCell is gone and asks come every second: the record is kept
        // until a save succeeds.
        TellFailedSave(saved.failure, L"保存できしだい終了します");
        return;
    }
    if (saved.kind == CloseSave::Unfinished) TellUnfinished();
    if (closed_) return;
    Finish();
}

// The program ends all the same: the file, replaced only by a finished
// copy, keeps the record as last saved.
void PlayRun::TellUnfinished() {
    if (std::exchange(unfinishedTold_, true)) return;
    s_.boxes.ShowError(
        ErrorBoxText(FormatMessageText(L"%s への保存が終わりません", FIniFileName)) +
        L"\r\nファイルには最後に保存できた記録が残っています。Dealwarden を終了します");
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
    // Windows is ending the session and waits only a few seconds: what the
    // writer could not finish by then is not told, as no box would be seen.
    if (!ending || closed_ || !saves_.Writes()) return;
    SaveForClose(kSessionEndWaitMs);
}

}  // namespace dw
