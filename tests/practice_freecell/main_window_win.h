#pragma once
// The practice FreeCell's main window: class "FreeCell", title "フリーセル",
// the Game menu, the deal being played, the undo count, and two buttons that
// let a person (or a test, through the registered messages below) make the
// game end in a win or get stuck.
#include <windows.h>

#include <string>

#include "event_log_win.h"
#include "options_win.h"

namespace dw::practice {

// Posted to the main window by tests: show the win / the no-more-moves dialog.
inline constexpr wchar_t kWinMessageName[] = L"DealwardenPractice.Win";
inline constexpr wchar_t kStuckMessageName[] = L"DealwardenPractice.Stuck";

class MainWindow {
public:
    MainWindow(const Options& options, EventLog& log);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    bool Create(int showCmd);
    HWND Handle() const { return hwnd_; }
    // For the message loop: F3, F4 and Ctrl+Z reach the game wherever the focus is.
    bool Accelerate(MSG& msg);

private:
    enum class Open { None, Select, Win, Stuck, Stats };

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Busy(const wchar_t* request);
    void SelectGame();
    void Undo();
    void Win();
    void Stuck();
    void Stats();
    void ShowStatus();

    const Options& options_;
    EventLog& log_;
    HWND hwnd_ = nullptr;
    HWND status_ = nullptr;
    HACCEL accel_ = nullptr;
    UINT winMessage_;
    UINT stuckMessage_;
    Open open_ = Open::None;
    std::wstring deal_;  // the deal being played, as entered; empty: none
    std::wstring state_;
    int undos_ = 0;
};

}  // namespace dw::practice
