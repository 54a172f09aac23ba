#include "ui/play_run.h"

#include <exception>
#include <utility>

#include "freecell/contract.h"
#include "freecell/freecell_asks.h"
#include "freecell/launcher.h"
#include "record/app_error.h"
#include "record/settings.h"
#include "ui/error_text.h"
#include "ui/spin_rules.h"

namespace dw {
namespace {

constexpr wchar_t kEndCaption[] = L"Dealwarden を終了";

// Marks the run busy for one handler, however it ends.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    ~BusyScope() { busy_ = false; }

private:
    bool& busy_;
};

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
      watcher_(s_.windows, record_, *this),
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
            try {
                FormClose();
            } catch (const AppError& e) {
                s_.boxes.ShowError(e.Message());
            }
            s_.view.HideStartWindow();
        }
        s_.view.SetStartCaption(kEndCaption);
    }
    created_ = true;
}

void PlayRun::IniRead() {
    FIniFileName = IniFileNameFor(exePath_);
    if (const auto why = s_.profile.Unusable(FIniFileName)) {
        settingsUsable_ = false;
        s_.boxes.ShowError(UnusableSettingsText(FIniFileName, *why));
        return;
    }
    dw::IniRead(s_.profile, FIniFileName, record_, RenMode);
    saved_ = record_;
    savedRenMode_ = RenMode;
}

void PlayRun::IniWrite() {
    FIniFileName = IniFileNameFor(exePath_);
    dw::IniWrite(s_.profile, FIniFileName, record_, RenMode);
    saved_ = record_;
    savedRenMode_ = RenMode;
    saveErrorTold_ = false;
}

void PlayRun::SaveSoon() {
    // At most the delay after the first booking not yet on disk.
    if (saveDue_ || closed_) return;
    saveDue_ = true;
    s_.timers.Start(RunTimer::Save, kSaveDelayMs);
}

bool PlayRun::RecordOnDisk() const {
    return saved_ && SameStoredFields(*saved_, record_) && savedRenMode_ == RenMode;
}

void PlayRun::SaveAfterBooking() {
    if (closed_ || !settingsUsable_ || RecordOnDisk()) return;
    try {
        IniWrite();
    } catch (const AppError& e) {
        // Told once; the record stays in memory and every later booking and
        // the close try again.
        if (saveErrorTold_) return;
        saveErrorTold_ = true;
        s_.boxes.ShowError(
            ErrorBoxText(e.Message()) +
            L"\r\n記録は Dealwarden が保持しています。次の記録時と終了時に保存を再試行します");
    }
}

void PlayRun::Button1Click() {
    if (!TakesCommands() || running_) return;
    {
        BusyScope busy(busy_);
        // Listening before F3, so that the dialog it opens is heard of.
        // Without the events (no FreeCell window, no hook) the heartbeat
        // alone drives the watcher, as it always could.
        s_.events.Subscribe(FCHnd, [this] { OnFreeCellEvent(); });
        AskForNextDeal(s_.windows, FCHnd, self_);
        watcher_.NextDealAsked();
        s_.view.Refresh();
        s_.timers.Start(RunTimer::Timer1, kTimer1Period);
        running_ = true;
        s_.view.ShowPlayWindows();
    }
}

void PlayRun::SpeedButton2Click(WindowHandle bar) {
    if (!TakesCommands()) return;
    {
        BusyScope busy(busy_);
        AskForNextDeal(s_.windows, FCHnd, bar);
        watcher_.NextDealAsked();
        record_.CountFailedTry();
        s_.view.ShowTryCount(record_.TryCnt);
        s_.view.Refresh();
    }
    SaveSoon();
}

void PlayRun::SpeedButton3Click(WindowHandle bar) {
    if (!TakesCommands()) return;
    BusyScope busy(busy_);
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

void PlayRun::FormClose() {
    AskToClose(s_.windows, FCHnd);
    if (settingsUsable_) IniWrite();
}

void PlayRun::RequestClose(CloseAsk who) {
    if (closed_) return;
    // The player's close is a command like any other: not while the watcher
    // waits, nor twice while the question below is open.
    if (who == CloseAsk::ByPlayer && (busy_ || closing_)) return;
    try {
        FormClose();
    } catch (const AppError& e) {
        if (who == CloseAsk::ByWatcher) {
            // FreeCell is gone and asks come every second: tell the player
            // once and keep the record until a save succeeds.
            if (!saveErrorTold_) {
                saveErrorTold_ = true;
                s_.boxes.ShowError(
                    ErrorBoxText(e.Message()) +
                    L"\r\n記録は Dealwarden が保持しています。保存できしだい終了します");
            }
            return;
        }
        // FreeCell has been told to close: from now on the watcher asks every
        // second, and this question already tells the player.
        saveErrorTold_ = true;
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
    if (!ending || closed_ || !settingsUsable_) return;
    try {
        IniWrite();
    } catch (const AppError&) {
    }
}

void PlayRun::OnTimer(RunTimer timer) {
    switch (timer) {
        case RunTimer::Timer1:
            RunTick(TickCause::Heartbeat);
            break;
        case RunTimer::EarlyTick:
            if (scheduler_.OnEarlyTimer()) RunTick(TickCause::FreeCellEvent);
            break;
        case RunTimer::Save:
            // Not while the watcher waits inside a tick: right after it.
            if (busy_) return;
            s_.timers.Stop(RunTimer::Save);
            saveDue_ = false;
            SaveAfterBooking();
            break;
    }
}

void PlayRun::OnFreeCellEvent() {
    if (!closed_) scheduler_.OnEvent();
}

void PlayRun::RunTick(TickCause cause) {
    // Never inside another handler: a heartbeat that comes while the watcher
    // waits is skipped (the next one is a second away), events are owed.
    if (closed_ || !running_ || busy_) return;
    if (onTick) onTick(cause);
    std::exception_ptr failure;
    {
        BusyScope busy(busy_);
        scheduler_.TickBegins();
        try {
            watcher_.Timer1Timer(FCHnd, self_);
        } catch (...) {
            failure = std::current_exception();
        }
        scheduler_.TickEnds();
    }
    if (watcher_.WinLeftToPlayer()) scheduler_.TickSoon(kLeftWinPollMs);
    // The watcher's close comes after the tick, so that ticks go on beneath
    // its box; it saves by itself.
    if (std::exchange(closeAsked_, false)) {
        RequestClose(CloseAsk::ByWatcher);
        return;
    }
    // What was booked, before an error too, is saved in a moment.
    if (!RecordOnDisk()) SaveSoon();
    if (failure) std::rethrow_exception(failure);
}

void PlayRun::OnMinimized() {
    s_.windows.Post(FCHnd, freecell::kMinimize);
}

void PlayRun::OnRestored() {
    s_.windows.Post(FCHnd, freecell::kRestore);
}

FrontWindow PlayRun::WindowForAnotherCopy() const {
    if (closed_ || !created_) return FrontWindow::None;
    return running_ ? FrontWindow::ScoreWindow : FrontWindow::StartWindow;
}

void PlayRun::ShowTryCount(std::int32_t tryCnt) {
    s_.view.ShowTryCount(tryCnt);
}
void PlayRun::SetGameBoxToOne() {
    s_.view.SetGameBoxToOne();
}
void PlayRun::InsertHistoryLine(const std::wstring& line) {
    s_.view.InsertHistoryLine(line);
}
void PlayRun::Refresh() {
    s_.view.Refresh();
}
void PlayRun::CloseProgram() {
    // Carried out once the tick is over, so that its box (if the file cannot
    // be written) does not hold off the ticks that retry it.
    closeAsked_ = true;
}
void PlayRun::HoldInput(bool held) {
    s_.view.HoldInput(held);
}

}  // namespace dw
