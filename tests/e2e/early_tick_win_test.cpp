// The run's watcher in this process with the real window system, timers and
// window-event hook, against the practice FreeCell, with its heartbeat
// silenced: what gets done is done by ticks that FreeCell's own window
// events started, before any heartbeat could have come.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "e2e/practice_fixture_win.h"
#include "freecell/freecell_events_win.h"
#include "freecell/process_win.h"
#include "record/profile_win.h"
#include "run/play_run.h"
#include "tests/fakes/fake_run_seams.h"
#include "ui/record_saves_win.h"
#include "ui/run_timers_win.h"

namespace dw::harness {
namespace {

using ::testing::Contains;
using ::testing::Each;
using ::testing::StartsWith;

// The run's timers, but for the heartbeat, which is noted and never fires.
class TimersWithoutHeartbeat final : public IRunTimers {
public:
    explicit TimersWithoutHeartbeat(std::function<void(RunTimer)> onTimer)
        : timers_(std::move(onTimer)) {
        timers_.Create();
    }
    void Start(RunTimer t, unsigned periodMs) override {
        if (t == RunTimer::Timer1)
            heartbeatPeriod = periodMs;
        else
            timers_.Start(t, periodMs);
    }
    void Stop(RunTimer t) override { timers_.Stop(t); }
    std::uint64_t NowMs() override { return timers_.NowMs(); }
    unsigned heartbeatPeriod = 0;

private:
    WindowTimers timers_;
};

// Any box would stop the test: none is expected.
class NoBoxes final : public IMessageBoxes {
public:
    void ShowError(const std::wstring& m) override { ADD_FAILURE() << "error box: " << m.size(); }
    bool AskYesNo(const std::wstring&) override {
        ADD_FAILURE() << "question";
        return false;
    }
};

class EarlyTickTest : public PracticeTest {
protected:
    void SetUp() override {
        PracticeTest::SetUp();
        saves_.Create();
        own_ = win::UniqueWindow(CreateWindowExW(0, L"STATIC", L"early tick test", WS_OVERLAPPED, 0,
                                                 0, 50, 50, nullptr, nullptr, nullptr, nullptr));
        run_.onTick = [this](TickCause c) {
            log_.push_back(c == TickCause::Heartbeat ? L"tick heartbeat" : L"tick event");
        };
    }
    void TearDown() override {
        run_.SpeedButton4Click();  // unhooks and stops the timers
        PracticeTest::TearDown();
    }
    std::vector<std::wstring> Ticks() const {
        std::vector<std::wstring> ticks;
        for (const auto& l : log_)
            if (l.starts_with(L"tick ")) ticks.push_back(l);
        return ticks;
    }

    TempDir dir_{L"early-tick"};
    std::vector<std::wstring> log_;
    win::UniqueWindow own_;
    Win32ProfileFiles profile_;
    WinEventSubscription events_;
    NoBoxes boxes_;
    testing::FakeView view_{log_};
    TFCGameRecord record_;
    WindowHandle fcHnd_ = kNoWindow;
    TimersWithoutHeartbeat timers_{[this](RunTimer t) { run_.OnTimer(t); }};
    ThreadRecordSaves saves_{std::make_shared<Win32ProfileFiles>(),
                             [this] { run_.OnRecordWritten(); }};
    PlayRun run_{record_,
                 fcHnd_,
                 dir_.File(L"Dealwarden.exe"),
                 {ws_, profile_, timers_, events_, boxes_, view_, saves_}};
};

TEST_F(EarlyTickTest, AWinIsBookedDismissedAndTheNextDealDealtByFreeCellsEventsAlone) {
    ASSERT_NE(Start(), nullptr);
    Win32ProcessSystem processes;
    run_.FormCreate(processes, win::FromHwnd(own_.get()));
    ASSERT_EQ(fcHnd_, win::FromHwnd(main_));
    run_.Button1Click();
    EXPECT_EQ(timers_.heartbeatPeriod, PlayRun::kTimer1Period) << "the heartbeat is there";

    ASSERT_TRUE(PumpUntil([&] { return Log().Contains(L"deal 1"); })) << "the first deal";
    ASSERT_TRUE(game_->PostWin());
    ASSERT_TRUE(PumpUntil([&] { return Log().Contains(L"deal 2"); })) << "the next deal";

    EXPECT_EQ(record_.won, 1);
    EXPECT_EQ(record_.hist[0], L"1 勝ち");
    EXPECT_THAT(log_, Contains(L"Insert 1 勝ち"));
    EXPECT_EQ(Log().Count(L"closed win ok"), 1u);
    EXPECT_THAT(Ticks(), Each(L"tick event"));
    EXPECT_TRUE(PumpUntil([&] {
        return profile_.ReadValue(run_.IniFileName(), L"Game", L"GameNo") == L"2";
    })) << "saved a moment later";
}

}  // namespace
}  // namespace dw::harness
