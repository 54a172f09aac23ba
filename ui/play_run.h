#pragma once
// The run's decisions, from the start window's creation to the program's
// end, free of Windows: when the record is saved and what a failed save
// does, how each way of quitting closes, what the start and retry buttons
// do, when the watcher ticks, and that one handler runs at a time — a
// command that comes while the watcher waits for FreeCell is dropped, not
// queued. The window classes translate their messages into these calls.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "freecell/freecell_events.h"
#include "freecell/process.h"
#include "freecell/tick_scheduler.h"
#include "freecell/timers.h"
#include "freecell/watcher.h"
#include "freecell/window_system.h"
#include "record/game_record.h"
#include "record/profile.h"
#include "ui/message_boxes.h"

namespace dw {

// What the run asks of its three windows.
class IRunView {
public:
    virtual ~IRunView() = default;
    // The score window.
    virtual void ShowTryCount(std::int32_t tryCnt) = 0;
    virtual void SetGameBoxToOne() = 0;
    virtual void InsertHistoryLine(const std::wstring& line) = 0;
    virtual void Refresh() = 0;  // HyoujiUpdate
    // The control bar's buttons and the score window's menu, greyed while held.
    virtual void HoldInput(bool held) = 0;
    // The start window.
    virtual void SetStartCaption(const std::wstring& caption) = 0;
    virtual void HideStartWindow() = 0;
    // The start button: the control bar and the score window come up, the
    // start window goes for good.
    virtual void ShowPlayWindows() = 0;
    // The message loop ends; only the entry point can do it.
    virtual void EndProgram() = 0;
};

// Who asked to close: the player (the quit button, the menu command, the
// start window's or the taskbar entry's close) or the watcher, which asks
// again at every tick while FreeCell is gone.
enum class CloseAsk { ByPlayer, ByWatcher };

// What started a tick.
enum class TickCause { Heartbeat, FreeCellEvent };

// Which of our windows a second copy of the program brings to the front.
enum class FrontWindow { None, StartWindow, ScoreWindow };

class PlayRun : private IWatcherRequests {
public:
    static constexpr unsigned kTimer1Period = 1000;
    // A booked win whose dialog was left to the player is looked for this
    // often, so the next deal follows soon after it goes.
    static constexpr unsigned kLeftWinPollMs = 100;
    // A booking is saved this long after it: the save takes tens of
    // milliseconds of ours and of the window system's, which FreeCell needs
    // meanwhile to deal the next game the booking asked for.
    static constexpr unsigned kSaveDelayMs = 150;

    struct Seams {
        IWindowSystem& windows;
        ProfileFiles& profile;
        IRunTimers& timers;
        IFreeCellEvents& events;
        IMessageBoxes& boxes;
        IRunView& view;
    };

    // record and fcHnd belong to the start window and live as long as the run.
    PlayRun(TFCGameRecord& record, WindowHandle& fcHnd, std::wstring exePath, Seams seams);
    PlayRun(const PlayRun&) = delete;
    PlayRun& operator=(const PlayRun&) = delete;

    // The start window's creation: the settings read, FreeCell found or
    // started. self is the start window, put back on top after F3.
    void FormCreate(IProcessSystem& processes, WindowHandle self);
    void IniRead();
    void IniWrite();  // raises AppError "<path> に書き込めません"

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
    // The program's taskbar entry was minimized or restored.
    void OnMinimized();
    void OnRestored();
    // A second copy of the program was started and hands over to this one.
    FrontWindow WindowForAnotherCopy() const;

    const std::wstring& IniFileName() const { return FIniFileName; }
    bool Running() const { return running_; }
    bool Closed() const { return closed_; }
    // For tests that want to see what started each tick.
    std::function<void(TickCause)> onTick;

private:
    void FormClose();
    void RunTick(TickCause cause);
    void OnFreeCellEvent();
    void SaveAfterBooking();
    void SaveSoon();
    bool RecordOnDisk() const;
    void Finish();
    bool TakesCommands() const { return !busy_ && !closing_ && !closed_; }

    // The watcher's requests.
    void ShowTryCount(std::int32_t tryCnt) override;
    void SetGameBoxToOne() override;
    void InsertHistoryLine(const std::wstring& line) override;
    void Refresh() override;
    void CloseProgram() override;
    void HoldInput(bool held) override;

    TFCGameRecord& record_;
    WindowHandle& FCHnd;
    std::wstring exePath_;
    Seams s_;
    DialogWatcher watcher_;
    TickScheduler scheduler_;

    std::wstring FIniFileName;
    bool RenMode = false;
    WindowHandle self_ = kNoWindow;
    // The settings file could not be used at all (told at start): nothing is
    // written, so the stored record is never replaced by one it never read.
    bool settingsUsable_ = true;
    bool created_ = false;
    bool running_ = false;
    bool busy_ = false;     // a handler runs; the watcher may be waiting inside it
    bool closing_ = false;  // the player is being asked whether to end unsaved
    bool closed_ = false;
    bool closeAsked_ = false;  // by the tick running now
    bool saveDue_ = false;     // the save timer runs
    // The record as last written, so that only a booking causes a save.
    std::optional<TFCGameRecord> saved_;
    bool savedRenMode_ = false;
    // A failed save is told once; later failures stay quiet until one succeeds.
    bool saveErrorTold_ = false;
};

// Shown at start when the settings file cannot be used: its path and why.
std::wstring UnusableSettingsText(const std::wstring& path, const std::wstring& reason);

}  // namespace dw
