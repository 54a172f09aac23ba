// The dialog watcher with the real window system, tick by tick, against the
// practice FreeCell: what it types arrives, wins are booked and dismissed,
// a stuck game holds the tick until it is answered.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "e2e/practice_fixture_win.h"
#include "freecell/watcher.h"
#include "tests/fakes/recording_requests.h"

namespace dw::harness {
namespace {

using namespace freecell;

class WatcherAgainstPractice : public PracticeTest {
protected:
    void SetUp() override {
        PracticeTest::SetUp();
        // The window the tick puts back on top after F3: ours.
        own_ = win::UniqueWindow(CreateWindowExW(0, L"STATIC", L"watcher test", WS_OVERLAPPED, 0, 0,
                                                 50, 50, nullptr, nullptr, nullptr, nullptr));
        ASSERT_NE(own_.get(), nullptr);
    }

    void Tick() {
        calls_.clear();
        testing::RecordOutcome(
            watcher_.Timer1Timer(win::FromHwnd(main_), win::FromHwnd(own_.get())), calls_);
    }

    // The start button's F3 and the select-game dialog it opens.
    void StartRun() { ASSERT_NE(OpenSelect(), nullptr); }

    TFCGameRecord record_;
    std::vector<std::wstring> calls_;
    testing::RecordingRequests ui_{calls_};
    DialogWatcher watcher_{ws_, record_, ui_};
    win::UniqueWindow own_;
};

using Calls = std::vector<std::wstring>;

class WatcherFullCycle : public WatcherAgainstPractice,
                         public ::testing::WithParamInterface<int> {};

// Deal 7 entered, won, booked, dismissed (however many Enters the dialog
// takes), and deal 8 entered at the select-game dialog the tick asked for,
// in the same tick: it looks for that dialog at once. The dialog goes too
// soon for the bar to be greyed.
TEST_P(WatcherFullCycle, EnterDealWinAndNextDeal) {
    PracticeOptions o;
    o.winEnters = GetParam();
    ASSERT_TRUE(Start(o));
    record_.GameNo = record_.WGameNo = 7;
    StartRun();

    Tick();
    EXPECT_EQ(calls_, Calls({L"ShowTryCount 1"}));
    ASSERT_TRUE(Log().WaitForLine(L"deal 7"));
    EXPECT_TRUE(WaitForNoTopLevel(ByTitle(kSelectTitle)));

    ASSERT_TRUE(game_->PostWin());
    ASSERT_NE(game_->WaitForDialog(kWinTitle), nullptr);
    Tick();
    EXPECT_EQ(calls_, Calls({L"ShowTryCount 1", L"Insert 7 勝ち", L"Refresh"}));
    EXPECT_EQ(FindTopLevel(ByTitle(kWinTitle)), nullptr)
        << "the tick returns once the dialog is gone";
    EXPECT_TRUE(Log().Contains(L"pressed win " + std::to_wstring(GetParam())));
    EXPECT_EQ(Log().Count(L"closed win ok"), 1u);
    EXPECT_EQ(record_.GameNo, 8);
    EXPECT_EQ(record_.kachi, 1);
    EXPECT_EQ(record_.hist[0], L"7 勝ち");

    // The F3 the tick posted opened the next select-game dialog, filled.
    ASSERT_TRUE(Log().WaitForLine(L"deal 8"));
    EXPECT_EQ(Log().Count(L"f3"), 2u);
    Tick();
    EXPECT_EQ(calls_, Calls{}) << "nothing left for the next tick";
}

INSTANTIATE_TEST_SUITE_P(WinEnters, WatcherFullCycle, ::testing::Values(1, 4));

struct FailedTryCase {
    const char* name;
    int stuckAutoMs;         // the stand-in answers by itself, or
    const wchar_t* clicked;  // a "player" clicks this button while the tick waits
    const wchar_t* logged;
};

class WatcherFailedTry : public WatcherAgainstPractice,
                         public ::testing::WithParamInterface<FailedTryCase> {};

// The tick books the failed try at once and then waits, blocking, until the
// player has answered the dialog in FreeCell.
TEST_P(WatcherFailedTry, StuckDialogCountsATryAndHoldsTheTickUntilAnswered) {
    const FailedTryCase& c = GetParam();
    PracticeOptions o;
    o.stuckAutoMs = c.stuckAutoMs;
    ASSERT_TRUE(Start(o));
    record_.GameNo = record_.WGameNo = 12;
    StartRun();
    Tick();
    ASSERT_TRUE(Log().WaitForLine(L"deal 12"));

    ASSERT_TRUE(game_->PostStuck());
    HWND stuck = game_->WaitForDialog(kStuckTitle);
    ASSERT_NE(stuck, nullptr);
    constexpr auto kPlayerThinks = std::chrono::milliseconds(600);
    std::thread player;
    if (c.clicked) {
        player = std::thread([&] {
            std::this_thread::sleep_for(kPlayerThinks);
            Click(FindChildByText(stuck, L"Button", c.clicked));
        });
    }
    const auto start = std::chrono::steady_clock::now();
    Tick();
    const auto took = std::chrono::steady_clock::now() - start;
    if (player.joinable()) player.join();

    EXPECT_EQ(calls_, Calls({L"Refresh", L"Hold", L"Release"}));
    EXPECT_EQ(record_.TryCnt, 2);
    EXPECT_EQ(record_.make, 1);
    EXPECT_EQ(record_.GameNo, 12);
    EXPECT_FALSE(IsWindow(stuck)) << "the tick must not return before the dialog is gone";
    EXPECT_GE(took, std::chrono::milliseconds(
                        c.clicked ? kPlayerThinks : std::chrono::milliseconds(c.stuckAutoMs)));
    EXPECT_TRUE(Log().WaitForLine(c.logged));
}

INSTANTIATE_TEST_SUITE_P(Answers, WatcherFailedTry,
                         ::testing::Values(FailedTryCase{"AutoRestart", 800, nullptr,
                                                         L"closed stuck restart"},
                                           FailedTryCase{"PlayerEnds", -1, L"ゲームを終了する(&E)",
                                                         L"closed stuck end"}),
                         [](const auto& info) { return std::string(info.param.name); });

// After a failed try the player retries: the same number is entered again.
TEST_F(WatcherAgainstPractice, RetryEntersTheSameDealAgain) {
    PracticeOptions o;
    o.stuckAutoMs = 100;
    ASSERT_TRUE(Start(o));
    record_.GameNo = record_.WGameNo = 30;
    StartRun();
    Tick();
    ASSERT_TRUE(Log().WaitForLine(L"deal 30"));
    ASSERT_TRUE(game_->PostStuck());
    ASSERT_NE(game_->WaitForDialog(kStuckTitle), nullptr);
    Tick();
    ASSERT_EQ(record_.TryCnt, 2);
    StartRun();
    Tick();
    EXPECT_EQ(calls_, Calls({L"ShowTryCount 2"}));
    EXPECT_TRUE(Log().WaitForCount(L"deal 30", 2));
}

TEST_F(WatcherAgainstPractice, FreeCellClosedByThePlayerClosesTheProgram) {
    ASSERT_TRUE(Start());
    Tick();
    EXPECT_EQ(calls_, Calls{}) << "nothing to do while FreeCell idles";
    ASSERT_TRUE(Post(main_, kClose));
    ASSERT_TRUE(game_->Proc().WaitForExit());
    Tick();
    EXPECT_EQ(calls_, Calls({L"Close"}));
}

}  // namespace
}  // namespace dw::harness
