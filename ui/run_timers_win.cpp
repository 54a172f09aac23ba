#include "ui/run_timers_win.h"

#include <chrono>

namespace dw {
namespace {

// Timer ids start at 1: 0 is no timer.
UINT_PTR TimerId(RunTimer t) {
    return static_cast<UINT_PTR>(t) + 1;
}

}  // namespace

void WindowTimers::Create() {
    CreateWin(L"DealwardenTimers", 0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE, nullptr);
}

void WindowTimers::Start(RunTimer timer, unsigned periodMs) {
    if (Hwnd()) SetTimer(Hwnd(), TimerId(timer), periodMs, nullptr);
}

void WindowTimers::Stop(RunTimer timer) {
    if (Hwnd()) KillTimer(Hwnd(), TimerId(timer));
}

std::uint64_t WindowTimers::NowMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

LRESULT WindowTimers::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        for (RunTimer t : {RunTimer::Timer1, RunTimer::EarlyTick, RunTimer::Save})
            if (wParam == TimerId(t)) {
                if (onTimer_) onTimer_(t);
                return 0;
            }
    }
    return Default(msg, wParam, lParam);
}

}  // namespace dw
