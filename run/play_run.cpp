#include "run/play_run.h"

#include <exception>
#include <utility>

#include "freecell/contract.h"
#include "freecell/freecell_asks.h"
#include "freecell/launcher.h"
#include "record/app_error.h"
#include "record/scope_guard.h"
#include "record/settings.h"
#include "run/spin_rules.h"

namespace dw {
namespace {

constexpr wchar_t kEndCaption[] = L"Dealwarden を終了";
// What a failed booking's save tells besides the failure.
constexpr wchar_t kTriedAgain[] = L"次の記録時と終了時に保存を再試行します";

// The run is busy for as long as one handler lasts, however it ends.
auto BusyScope(bool& busy) {
    return HoldFor([&busy](bool on) { busy = on; });
}

}  // namespace

std::wstring UnusableSettingsText(const std::wstring& path, const std::wstring& reason) {
    return FormatMessageText(L"設定ファイル %s を使用できません", path) + L"（" + reason +
           L"）。\r\nこの回の記録は保存されません";
}

PlayRun::PlayRun(TFCGameRecord& record, WindowHandle& fcHnd, std::wstring exePath, Seams seams)
    : record_(record),
      FCHnd(fcHnd),
      exePath_(std::move(exePath)),
      s_(seams),
      watcher_(s_.windows, record_, s_.view),
      scheduler_(s_.timers) {}

void PlayRun::FormCreate(IProcessSystem& processes, WindowHandle self) {
    self_ = self;
    IniRead();
    Launcher launcher(processes);
    const LaunchResult found = launcher.FindOrLaunchFreeCell();
    FCHnd = found.FCHnd;
    if (found.notFound) {
        if (found.answeredOk) {
            // Not yet the main window: the close procedure saves and hides it
            // but does not end the program; the button then ends it.
            const CloseSave saved = FormClose();
            if (saved.kind == CloseSave::Failed) s_.boxes.ShowError(saved.failure);
            if (saved.kind == CloseSave::Unfinished) TellUnfinished();
            s_.view.HideStartWindow();
        }
        s_.view.SetStartCaption(kEndCaption);
    }
    created_ = true;
}

void PlayRun::IniRead() {
    FIniFileName = IniFileNameFor(exePath_);
    if (const auto why = s_.profile.Unusable(FIniFileName)) {
        saves_.NeverWrite();
        s_.boxes.ShowError(UnusableSettingsText(FIniFileName, *why));
        return;
    }
    dw::IniRead(s_.profile, FIniFileName, record_, RenMode);
    saves_.OnDisk(record_, RenMode);
}

void PlayRun::IniWrite() {
    FIniFileName = IniFileNameFor(exePath_);
    s_.saves.Hand({FIniFileName, record_, RenMode});
    saves_.Handed(record_, RenMode);
}

void PlayRun::SaveSoon() {
    if (!closed_ && saves_.Booked(record_, RenMode))
        s_.timers.Start(RunTimer::Save, SavePolicy::kDelayMs);
}

void PlayRun::SaveAfterBooking() {
    if (closed_ || !saves_.DueNow(record_, RenMode)) return;
    IniWrite();
}

std::optional<std::wstring> PlayRun::TakeWrites() {
    const auto outcomes = s_.saves.TakeOutcomes();
    for (const auto& o : outcomes) {
        if (o.failure)
            saves_.Failed(o.snapshot.record, o.snapshot.renMode);
        else
            saves_.Succeeded(o.snapshot.record, o.snapshot.renMode);
    }
    // A failure that a later write made good is no news.
    if (outcomes.empty() || !outcomes.back().failure) return std::nullopt;
    return outcomes.back().failure;
}

void PlayRun::OnRecordWritten() {
    if (closed_) return;
    // Not inside a wait (the watcher's for FreeCell, a close's for the
    // writer): a moment after it. A close takes the outcomes itself.
    if (busy_) {
        s_.timers.Start(RunTimer::Save, SavePolicy::kDelayMs);
        return;
    }
    // The record stays in memory; every later booking and the close try again.
    if (const auto failure = TakeWrites()) TellFailedSave(*failure, kTriedAgain);
}

void PlayRun::TellFailedSave(const std::wstring& message, const wchar_t* whatNext) {
    if (saves_.FailureToTell())
        s_.boxes.ShowError(ErrorBoxText(message) + L"\r\n記録は Dealwarden が保持しています。" +
                           whatNext);
}

void PlayRun::Button1Click() {
    if (!TakesCommands() || running_) return;
    const auto busy = BusyScope(busy_);
    // Listening before F3, so that the dialog it opens is heard of. Without
    // the events (no FreeCell window, no hook) the heartbeat alone drives
    // the watcher, as it always could.
    s_.events.Subscribe(FCHnd, [this] { OnFreeCellEvent(); });
    if (follower_) {
        s_.events.SubscribeMoves(FCHnd, [this] { FollowFreeCell(LookCause::FreeCellEvent); });
        // A minimized FreeCell opens nothing on F3: restored first, which
        // its queue takes before the keys.
        if (follower_->RestoreBeforeAsking(FCHnd)) s_.windows.Post(FCHnd, freecell::kRestore);
    }
    watcher_.StartRun();
    watcher_.AskForNextDeal(FCHnd, self_);
    s_.view.Refresh();
    s_.timers.Start(RunTimer::Timer1, kTimer1Period);
    running_ = true;
    s_.view.ShowPlayWindows();
    if (follower_) follower_->PlaceNow(FCHnd);
}

void PlayRun::SpeedButton2Click(WindowHandle bar) {
    if (!TakesCommands()) return;
    {
        const auto busy = BusyScope(busy_);
        watcher_.AskForNextDeal(FCHnd, bar);
        record_.CountFailedTry();
        s_.view.ShowTryCount(record_.TryCnt);
        s_.view.Refresh();
    }
    SaveSoon();
}

void PlayRun::SpeedButton3Click(WindowHandle bar) {
    if (!TakesCommands()) return;
    const auto busy = BusyScope(busy_);
    AskToUndo(s_.windows, FCHnd, bar);
}

void PlayRun::SpeedButton4Click() {
    RequestClose(CloseAsk::ByPlayer);
}

void PlayRun::No1Click(const std::wstring& gameBoxText) {
    if (!TakesCommands()) return;
    // Taken as it stands, unclamped: the menu does not take the focus from
    // the box, so its range is not applied first.
    const auto n = ParseDecimalInt(gameBoxText);
    if (!n) throw AppError(FormatMessageText(L"''%s'' は整数ではありません", gameBoxText));
    record_.SetGameNumber(*n);
    RequestClose(CloseAsk::ByPlayer);
}

void PlayRun::OnTimer(RunTimer timer) {
    switch (timer) {
        case RunTimer::Timer1:
            FollowFreeCell(LookCause::Heartbeat);
            RunTick(TickCause::Heartbeat);
            break;
        case RunTimer::EarlyTick:
            if (scheduler_.OnEarlyTimer()) RunTick(TickCause::FreeCellEvent);
            break;
        case RunTimer::Save: {
            // Not while the watcher waits inside a tick: right after it.
            if (busy_) return;
            s_.timers.Stop(RunTimer::Save);
            // News that came during a wait first: a failed record is handed
            // over again with what was booked since, before the player is told.
            const auto failure = TakeWrites();
            SaveAfterBooking();
            if (failure) TellFailedSave(*failure, kTriedAgain);
            break;
        }
    }
}

void PlayRun::OnFreeCellEvent() {
    if (!closed_) scheduler_.OnEvent();
}

void PlayRun::FollowFreeCell(LookCause cause) {
    // While the watcher waits too: the player may move FreeCell meanwhile.
    if (follower_ && running_ && !closed_) follower_->Look(FCHnd, cause);
}

void PlayRun::RunTick(TickCause cause) {
    // Never inside another handler: a heartbeat that comes while the watcher
    // waits is skipped (the next one is a second away), events are owed.
    if (closed_ || !running_ || busy_) return;
    if (onTick) onTick(cause);
    std::exception_ptr failure;
    TickOutcome outcome;
    {
        const auto busy = BusyScope(busy_);
        scheduler_.TickBegins();
        try {
            outcome = watcher_.Timer1Timer(FCHnd, self_);
        } catch (...) {
            failure = std::current_exception();
        }
        scheduler_.TickEnds();
    }
    // A close that came while the watcher waited is carried out now; the
    // wait was cut short for it.
    if (std::exchange(closeOwed_, false)) {
        RequestClose(CloseAsk::ByPlayer);
        if (closed_) return;
    }
    if (const auto soon = watcher_.LookAgainIn()) scheduler_.TickSoon(*soon);
    // The watcher's close comes after the tick, so that ticks go on beneath
    // its box (if the file cannot be written); it saves by itself.
    if (outcome.freeCellGone) {
        RequestClose(CloseAsk::ByWatcher);
        return;
    }
    // What was booked, before an error too, is saved in a moment.
    SaveSoon();
    if (failure) std::rethrow_exception(failure);
}

void PlayRun::OnMinimized() {
    s_.windows.Post(FCHnd, freecell::kMinimize);
}

void PlayRun::OnRestored() {
    s_.windows.Post(FCHnd, freecell::kRestore);
}

FrontWindow PlayRun::WindowForAnotherCopy() const {
    return created_ ? PlayersWindow() : FrontWindow::None;
}

FrontWindow PlayRun::PlayersWindow() const {
    if (closed_) return FrontWindow::None;
    return running_ ? FrontWindow::ScoreWindow : FrontWindow::StartWindow;
}

}  // namespace dw
