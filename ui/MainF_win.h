#pragma once
// The start window: the program's main window and the owner of everything
// that lasts for the run — the game record, FreeCell's window, the watcher's
// timer and the run whose decisions it forwards. One big button starts the
// managed play.
#include <functional>
#include <memory>
#include <string>

#include "freecell/freecell_events_win.h"
#include "freecell/window_system_win.h"
#include "record/game_record.h"
#include "record/profile.h"
#include "run/freecell_follower.h"
#include "run/play_run.h"
#include "ui/docked_windows_win.h"
#include "ui/message_boxes_win.h"
#include "ui/record_saves_win.h"
#include "ui/run_timers_win.h"
#include "ui/window_frames_win.h"
#include "win/base_window_win.h"
#include "win/gdi_win.h"

namespace dw {

class AppWindow;
class TFCSeisekiF;
class TFCCtrF;
class IProcessSystem;

class TFCMainF : public BaseWindow, private IRunView {
public:
    static constexpr int kClientWidth = 372, kClientHeight = 96;
    static constexpr COLORREF kBackground = RGB(192, 220, 192);

    // endProgram ends the message loop; only the entry point may. The
    // settings are read through profile and written through it on the
    // writer's thread.
    TFCMainF(AppWindow& app, std::shared_ptr<ProfileFiles> profile, IProcessSystem& processes,
             std::wstring exePath, std::function<void()> endProgram);

    TFCGameRecord Record;            // the game record, read and changed by the other windows
    WindowHandle FCHnd = kNoWindow;  // FreeCell's main window, found once at start

    // Creates the window hidden and runs FormCreate.
    void Create();
    // The other two windows, once created; nullptr before they are destroyed.
    void Attach(TFCSeisekiF* seiseki, TFCCtrF* ctrl);
    void Show();
    // The window events stop before the run they call into goes.
    ~TFCMainF() override { events_.Unsubscribe(); }
    // Its own window, the timers' window and the writer's.
    void Destroy() override;

    PlayRun& Run() { return run_; }
    HWND Button1() const { return button1_; }
    const std::wstring& IniFileName() const { return run_.IniFileName(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void Button1Click();
    void AnotherCopyStarted();
    // The window every box the program shows is owned by.
    HWND BoxOwner() const;

    // What the run asks of the windows.
    void ShowTryCount(std::int32_t tryCnt) override;
    void SetGameBoxToOne() override;
    void InsertHistoryLine(const std::wstring& line) override;
    void Refresh() override;
    void HoldInput(bool held) override;
    void SetStartCaption(const std::wstring& caption) override;
    void HideStartWindow() override;
    void ShowPlayWindows() override;
    void EndProgram() override;

    AppWindow& app_;
    IProcessSystem& processes_;
    std::function<void()> endProgram_;

    // The run's seams come first: the run holds them for as long as it lives.
    std::shared_ptr<ProfileFiles> profile_;
    Win32WindowSystem ws_;
    WindowTimers Timer1;  // the watcher's heartbeat and its early ticks
    WinEventSubscription events_;
    Win32MessageBoxes boxes_;
    // The score window and the control bar follow FreeCell's window.
    Win32FreeCellScreen screen_;
    DockedWindows docked_;
    FreeCellFollower follower_{screen_, docked_};
    ThreadRecordSaves saves_;  // the record's writer and the news of its writes
    PlayRun run_;

    TFCSeisekiF* seiseki_ = nullptr;
    TFCCtrF* ctrl_ = nullptr;
    HWND button1_ = nullptr;
    win::UniqueFont font_, buttonFont_;
    win::UniqueBrush background_;
};

}  // namespace dw
