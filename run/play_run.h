#pragma once
// The run's decisions, from the start window's creation to the program's
// end, free of Windows: when the record is saved and what a failed save
// does, how each way of quitting closes, what the start and retry buttons
// do, when the watcher ticks, and that one handler runs at a time — a
// command that comes while the watcher waits for FreeCell is dropped, not
// queued. The window classes translate their messages into these calls.
#include <functional>
#include <optional>
#include <string>

#include "freecell/freecell_events.h"
#include "freecell/process.h"
#include "freecell/watcher.h"
#include "freecell/window_system.h"
#include "record/game_record.h"
#include "record/profile.h"
#include "run/freecell_follower.h"
#include "run/message_boxes.h"
#include "run/record_saves.h"
#include "run/run_view.h"
#include "run/save_policy.h"
#include "run/tick_scheduler.h"
#include "run/timers.h"

namespace dw {

// Who asked to close: the player (the quit button, the menu command, the
// start window's or the taskbar entry's close) or the watcher, which asks
// again at every tick while FreeCell is gone.
enum class CloseAsk { ByPlayer, ByWatcher };

// What started a tick.
enum class TickCause { Heartbeat, FreeCellEvent };

// Which of our windows a second copy of the program brings to the front.
enum class FrontWindow { None, StartWindow, ScoreWindow };

class PlayRun {
public:
    static constexpr unsigned kTimer1Period = 1000;
    // How long a close waits for the writer to write the record (after the
    // write under way, if any); the session's end gets less, as Windows
    // waits only a few seconds for a program before it offers to end it.
    static constexpr unsigned kCloseWaitMs = 10000;
    static constexpr unsigned kSessionEndWaitMs = 4000;

    struct Seams {
        IWindowSystem& windows;
        ProfileFiles& profile;
        IRunTimers& timers;
        IFreeCellEvents& events;
        IMessageBoxes& boxes;
        IRunView& view;
        IRecordSaves& saves;
    };

    // record and fcHnd belong to the start window and live as long as the run.
    PlayRun(TFCGameRecord& record, WindowHandle& fcHnd, std::wstring exePath, Seams seams);
    PlayRun(const PlayRun&) = delete;
    PlayRun& operator=(const PlayRun&) = delete;

    // The start window's creation: the settings read, FreeCell found or
    // started. self is the start window, put back on top after F3.
    void FormCreate(IProcessSystem& processes, WindowHandle self);
    void IniRead();
    // Hands the record, as it stands, to the writer; returns at once.
    void IniWrite();

    // The start button.
    void Button1Click();
    // The control bar; bar is its window, put back on top after the keys.
    void SpeedButton2Click(WindowHandle bar);  // retry: a failed try, the same deal again
    void SpeedButton3Click(WindowHandle bar);  // undo one move
    void SpeedButton4Click();                  // quit
    // The score window's menu command with the number box's text: that deal
    // next run, and the program ends. Raises AppError when it is no integer.
    void No1Click(const std::wstring& gameBoxText);

    void RequestClose(CloseAsk who);
    // The session ends (true) or its end was called off.
    void EndSession(bool ending);
    void OnTimer(RunTimer timer);
    // The writer finished a write: its outcome is waiting to be taken.
    void OnRecordWritten();
    // The program's taskbar entry was minimized or restored.
    void OnMinimized();
    void OnRestored();
    // From the start button on, the docked windows follow FreeCell's window:
    // at every heartbeat and at FreeCell's moves. follower lives as long as the run.
    void FollowWith(FreeCellFollower& follower) { follower_ = &follower; }
    // A second copy of the program was started and hands over to this one.
    FrontWindow WindowForAnotherCopy() const;
    // The window the player sees now, which owns every box the program
    // shows so that it comes up over FreeCell, not behind it.
    FrontWindow PlayersWindow() const;

    // What the docked windows show and dock to.
    const TFCGameRecord& Record() const { return record_; }
    WindowHandle FreeCell() const { return FCHnd; }

    const std::wstring& IniFileName() const { return FIniFileName; }
    bool Running() const { return running_; }
    bool Closed() const { return closed_; }
    // For tests that want to see what started each tick.
    std::function<void(TickCause)> onTick;

private:
    // What the save of a close came to.
    struct CloseSave {
        enum Kind { Written, Failed, Unfinished } kind;
        std::wstring failure;  // the writer's message when Failed
    };
    CloseSave FormClose();
    CloseSave SaveForClose(unsigned boundMs);
    void PlayersClose();
    void WatchersClose();
    void TellUnfinished();
    // Takes the writer's outcomes into the save policy; the failure to tell,
    // if the last write failed.
    std::optional<std::wstring> TakeWrites();
    void RunTick(TickCause cause);
    void OnFreeCellEvent();
    void FollowFreeCell(LookCause cause);
    void SaveAfterBooking();
    void SaveSoon();
    void TellFailedSave(const std::wstring& message, const wchar_t* whatNext);
    void Finish();
    bool TakesCommands() const { return !busy_ && !closing_ && !closed_; }

    TFCGameRecord& record_;
    WindowHandle& FCHnd;
    std::wstring exePath_;
    Seams s_;
    DialogWatcher watcher_;
    TickScheduler scheduler_;
    FreeCellFollower* follower_ = nullptr;

    std::wstring FIniFileName;
    bool RenMode = false;
    WindowHandle self_ = kNoWindow;
    SavePolicy saves_;
    bool created_ = false;
    bool running_ = false;
    bool busy_ = false;     // a handler runs; the watcher or a close may be waiting inside it
    bool closing_ = false;  // a close waits for the writer or asks the player
    bool unfinishedTold_ = false;  // a close's save that did not finish was told
    bool closeOwed_ = false;       // the player closed while the watcher waited
    bool closed_ = false;
};

// Shown at start when the settings file cannot be used: its path and why.
std::wstring UnusableSettingsText(const std::wstring& path, const std::wstring& reason);

}  // namespace dw
