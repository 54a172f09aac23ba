#pragma once
// The run's timers as window timers of a message-only window of our own:
// their ticks come through the message loop like every other event, one at
// a time, and an error in one is shown like any handler's.
#include <cstdint>
#include <functional>

#include "run/timers.h"
#include "win/base_window_win.h"

namespace dw {

class WindowTimers final : public BaseWindow, public IRunTimers {
public:
    explicit WindowTimers(std::function<void(RunTimer)> onTimer) : onTimer_(std::move(onTimer)) {}
    void Create();

    void Start(RunTimer timer, unsigned periodMs) override;
    void Stop(RunTimer timer) override;
    std::uint64_t NowMs() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr int kTimers = 3;
    std::function<void(RunTimer)> onTimer_;
    // Timers of period 0: a message of our own in the queue, and whether it
    // is still wanted when it comes.
    bool posted_[kTimers] = {};
    bool soon_[kTimers] = {};
};

}  // namespace dw
