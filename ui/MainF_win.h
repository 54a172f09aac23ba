#pragma once
// The start window: the program's main window and the owner of everything
// that lasts for the run — the game record, the settings path, FreeCell's
// window and the watcher's timer. One big button starts the managed play.
#include <functional>
#include <optional>
#include <string>

#include "freecell/watcher.h"
#include "freecell/window_system_win.h"
#include "record/game_record.h"
#include "record/profile.h"
#include "ui/base_window_win.h"
#include "ui/gdi_win.h"

namespace dw {

class AppWindow;
class TFCSeisekiF;
class TFCCtrF;
class IProcessSystem;

class TFCMainF : public BaseWindow, private IWatcherRequests {
public:
    static constexpr int kClientWidth = 372, kClientHeight = 96;
    static constexpr COLORREF kBackground = RGB(192, 220, 192);
    static constexpr UINT_PTR kTimer1 = 1;
    static constexpr UINT kTimer1Period = 1000;
    // After F3 the select-game dialog is watched for this often, this many
    // times, so the player need not wait for the next second's tick.
    static constexpr UINT_PTR kSelectTimer = 2;
    static constexpr UINT kSelectPollMs = 40;
    static constexpr int kSelectPolls = 25;

    // Who asked to close: the player (quit button, menu command) or the
    // watcher, which asks again every second while FreeCell is gone.
    enum class CloseAsk { ByPlayer, ByWatcher };

    // endProgram ends the message loop; only the entry point may.
    TFCMainF(AppWindow& app, ProfileFiles& profile, IProcessSystem& processes, std::wstring exePath,
             std::function<void()> endProgram);
    ~TFCMainF() override;

    TFCGameRecord Record;            // the game record, read and changed by the other windows
    WindowHandle FCHnd = kNoWindow;  // FreeCell's main window, found once at start

    // Creates the window hidden and runs FormCreate.
    void Create();
    // The other two windows, once created.
    void Attach(TFCSeisekiF* seiseki, TFCCtrF* ctrl);
    void Show();

    void Button1Click();
    void RequestClose(CloseAsk who);
    // After the record changed outside a tick (the retry button).
    void SaveIfChanged();
    // F3 was posted (start, retry, a win): fill the dialog as soon as it shows.
    void NextDealAsked() override;

    IWindowSystem& Windows() { return ws_; }
    HWND Button1() const { return button1_; }
    const std::wstring& IniFileName() const { return FIniFileName; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormClose();
    void Timer1Timer();
    void IniRead();
    void IniWrite();

    // The watcher's requests.
    void ShowTryCount(std::int32_t tryCnt) override;
    void SetGameBoxToOne() override;
    void InsertHistoryLine(const std::wstring& line) override;
    void Refresh() override;
    void CloseProgram() override;
    void SelectTimerTick();

    AppWindow& app_;
    ProfileFiles& profile_;
    IProcessSystem& processes_;
    std::wstring exePath_;
    std::function<void()> endProgram_;

    std::wstring FIniFileName;
    bool RenMode = false;
    Win32WindowSystem ws_;
    DialogWatcher watcher_{ws_, Record, *this};

    TFCSeisekiF* seiseki_ = nullptr;
    TFCCtrF* ctrl_ = nullptr;
    HWND button1_ = nullptr;
    win::UniqueFont font_, buttonFont_;
    win::UniqueBrush background_;

    int selectPollsLeft_ = 0;
    bool creating_ = false;
    bool running_ = false;
    bool closed_ = false;
    // The record as last written, so that only a booking causes a save.
    std::optional<TFCGameRecord> saved_;
    bool savedRenMode_ = false;
    // A failed save is told once; later failures stay quiet until one succeeds.
    bool saveErrorTold_ = false;
};

}  // namespace dw
