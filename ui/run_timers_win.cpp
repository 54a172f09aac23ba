#include "ui/run_timers_win.h"

#include <chrono>
#include <utility>

namespace dw {
namespace {

// Timer ids start at 1: 0 is no timer.
UINT_PTR TimerId(RunTimer t) {
    return static_cast<UINT_PTR>(t) + 1;
}

// A timer of period 0 is a message posted to ourselves: it comes after what
// is in the queue already, sooner than any window timer can (10 ms at least,
// a 15.6 ms tick on Windows).
constexpr UINT kSoon = WM_APP + 1;

}  // namespace

void WindowTimers::Create() {
    CreateWin(L"DealwardenTimers", 0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE, nullptr);
}

void WindowTimers::Start(RunTimer timer, unsigned periodMs) {
    if (!Hwnd()) return;
    const auto i = static_cast<int>(timer);
    if (periodMs > 0) {
        soon_[i] = false;
        SetTimer(Hwnd(), TimerId(timer), periodMs, nullptr);
        return;
    }
    KillTimer(Hwnd(), TimerId(timer));
    soon_[i] = true;
    if (!posted_[i]) posted_[i] = PostMessageW(Hwnd(), kSoon, static_cast<WPARAM>(i), 0) != FALSE;
}

void WindowTimers::Stop(RunTimer timer) {
    soon_[static_cast<int>(timer)] = false;
    if (Hwnd()) KillTimer(Hwnd(), TimerId(timer));
}

std::uint64_t WindowTimers::NowMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

LRESULT WindowTimers::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kSoon && wParam < static_cast<WPARAM>(kTimers)) {
        const auto i = static_cast<int>(wParam);
        posted_[i] = false;
        if (std::exchange(soon_[i], false) && onTimer_) onTimer_(static_cast<RunTimer>(i));
        return 0;
    }
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
