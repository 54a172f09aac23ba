// While FreeCell's dialogs are up, end to end under Wine: the watcher waits
// for the no-more-moves dialog and presses Enter on the win dialog without
// making our windows "not responding", takes no command meanwhile (the
// control bar is greyed and its clicks are dropped, not queued), presses at
// a pace the dialog can follow and, when it does not close, leaves it to the
// player and asks for the next deal once it has gone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "e2e/dealwarden_run_win.h"
#include "e2e/practice_fixture_win.h"
#include "freecell/watcher.h"
#include "harness/screenshot_win.h"
#include "ui/CtrlF_win.h"

namespace dw::e2e {
namespace {

using namespace harness;
using namespace std::chrono_literals;
using F = ScoreField;

constexpr int kButtons[] = {TFCCtrF::kIdSpeedButton2, TFCCtrF::kIdSpeedButton3,
                            TFCCtrF::kIdSpeedButton4};

bool BarTakesClicks(DealwardenRun& run) {
    for (int id : kButtons)
        if (!IsEnabled(run.BarButton(id))) return false;
    return true;
}

// Watches for this long that neither docked window is reported hung.
bool NeverHungFor(DealwardenRun& run, milliseconds time) {
    HWND score = run.ScoreWindow(), bar = run.ControlBar();
    return !WaitUntil([&] { return IsHungAppWindow(score) || IsHungAppWindow(bar); }, time);
}

// More than the five seconds after which a window that reads no messages
// counts as hung.
constexpr auto kBeyondHung = 6000ms;

HWND Dialog(DealwardenRun& run, const std::wstring& title) {
    return WaitForDialogReady(ByTitle(title, OwnerProcess(run.FreeCell())), L"Button");
}

const std::wstring kStuck(freecell::CkWord[freecell::kNoMoreMoves]);
const std::wstring kWinTitle(freecell::CkWord[freecell::kWin]);

class WaitTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (HasFailure()) SaveScreenshot(CurrentTestName());
    }
    // Deal 1 entered, then FreeCell says no more moves; the try is booked.
    HWND Stuck(DealwardenRun& run) {
        EXPECT_TRUE(run.StartPlaying()) << run.Log().Dump();
        PostMessageW(run.FreeCell(), PracticeStuckMessage(), 0, 0);
        HWND stuck = Dialog(run, kStuck);
        EXPECT_NE(stuck, nullptr);
        EXPECT_TRUE(run.WaitForScore(F::Label1, L"2"));
        return stuck;
    }
};

TEST_F(WaitTest, TheNoMoreMovesWaitKeepsTheWindowsAliveAndTheBarGreyed) {
    DealwardenRun run;  // the player answers the dialog: it stays until then
    HWND stuck = Stuck(run);
    ASSERT_NE(stuck, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(run.BarButton(TFCCtrF::kIdSpeedButton2)); }));
    EXPECT_TRUE(NeverHungFor(run, kBeyondHung)) << "reported hung while the dialog is up";
    EXPECT_FALSE(BarTakesClicks(run));
    Click(FindChildByText(stuck, L"Button", L"同じゲームをやり直す(&R)"));
    EXPECT_TRUE(WaitUntil([&] { return BarTakesClicks(run); })) << "the bar stays greyed";
}

// Three clicks on やり直し while the dialog is up: no try booked, no deal
// dealt, neither then nor once the dialog has gone.
TEST_F(WaitTest, RetryClickedWhileNoMoreMovesIsUpBooksNothingAndDealsNothing) {
    DealwardenRun run;
    HWND stuck = Stuck(run);
    ASSERT_NE(stuck, nullptr);
    for (int i = 0; i < 3; ++i) Click(run.BarButton(TFCCtrF::kIdSpeedButton2));
    // As a mouse would, too: pressed and let go over the button.
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP})
        Post(run.BarButton(TFCCtrF::kIdSpeedButton2), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
             MAKELPARAM(10, 10));
    Click(FindChildByText(stuck, L"Button", L"同じゲームをやり直す(&R)"));
    ASSERT_TRUE(run.Log().WaitForLine(L"closed stuck restart"));
    ASSERT_TRUE(WaitUntil([&] { return BarTakesClicks(run); }));
    // Several ticks later nothing has come of the clicks.
    EXPECT_FALSE(WaitUntil([&] { return run.ScoreText(F::Label1) != L"2"; }, 2500ms));
    EXPECT_EQ(run.Log().Count(L"f3"), 1u) << "a retry was carried out";
    EXPECT_EQ(run.Log().Count(L"deal 1"), 1u);
    EXPECT_EQ(run.IniValue(L"Game", L"TryCnt"), L"2");
    EXPECT_EQ(run.IniValue(L"Score", L"lost"), L"1");
    // The bar works again.
    Click(run.BarButton(TFCCtrF::kIdSpeedButton2));
    EXPECT_TRUE(run.WaitForDeal(1, 2));
    EXPECT_TRUE(run.WaitForScore(F::Label1, L"3"));
}

// The taskbar entry's close is not greyed like the bar: closing the program
// from it while FreeCell's no-more-moves dialog is up ends the program at
// once — FreeCell told to close, the record saved with the failed try.
TEST_F(WaitTest, TheTaskbarCloseDuringTheNoMoreMovesWaitEndsTheProgramWithTheRecordSaved) {
    DealwardenRun run;
    HWND stuck = Stuck(run);
    ASSERT_NE(stuck, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !BarTakesClicks(run); })) << "the wait has begun";
    PostMessageW(run.AppWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(run.WaitForExit()) << "the close was lost";
    EXPECT_EQ(run.Program().ExitCode(), 0u);
    EXPECT_TRUE(run.Log().Contains(L"close")) << "FreeCell told to close";
    EXPECT_EQ(run.IniValue(L"Game", L"TryCnt"), L"2");
    EXPECT_EQ(run.IniValue(L"Score", L"lost"), L"1");
}

struct StubbornWinCase {
    const char* name;
    bool clickAfterTheBound;  // else while Enter is still being pressed
};

void PrintTo(const StubbornWinCase& c, std::ostream* os) {
    *os << c.name;
}

class StubbornWinTest : public WaitTest, public ::testing::WithParamInterface<StubbornWinCase> {};

// A win dialog that Enter does not close: the win is booked once, Enter
// pressed at most about a hundred times a second and for a few seconds
// only, the windows never hung; the player's own キャンセル closes it at once
// and the next deal follows.
TEST_P(StubbornWinTest, IsBookedOncePressedAtAPaceItCanFollowAndClosedByThePlayer) {
    PracticeOptions o;
    o.winEnters = 1000000;
    DealwardenRun run(o);
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    PostMessageW(run.FreeCell(), PracticeWinMessage(), 0, 0);
    HWND win = Dialog(run, kWinTitle);
    ASSERT_NE(win, nullptr);
    const auto shown = std::chrono::steady_clock::now();
    ASSERT_TRUE(run.WaitForScore(F::Label18, L"1"));
    ASSERT_TRUE(run.Log().WaitForLine(L"pressed win 20"));

    // Pressed for the bound at most every gap: never more presses than that.
    constexpr int kMostPresses = DialogWatcher::kWinPressBoundMs / DialogWatcher::kWinPressGapMs;
    if (GetParam().clickAfterTheBound) {
        ASSERT_TRUE(WaitUntil([&] { return BarTakesClicks(run); }, 15000ms))
            << "held after the bound";
        const auto pressing = std::chrono::steady_clock::now() - shown;
        // From when this test saw the dialog, which may be after the first press.
        EXPECT_GE(pressing, std::chrono::milliseconds(DialogWatcher::kWinPressBoundMs) - 200ms);
        EXPECT_TRUE(NeverHungFor(run, kBeyondHung));
    }
    Click(FindChildByText(win, L"Button", L"キャンセル"));
    EXPECT_TRUE(WaitForGone(win, 1000ms)) << "the player's click did not get through at once";
    ASSERT_TRUE(run.WaitForDeal(2)) << run.Log().Dump();

    EXPECT_EQ(run.Log().Count(L"closed win cancel"), 1u);
    EXPECT_FALSE(run.Log().Contains(L"pressed win " + std::to_wstring(kMostPresses + 1)));
    // Booked once, across every tick that saw the dialog.
    EXPECT_EQ(run.ScoreText(F::Label18), L"1");
    EXPECT_THAT(run.HistoryBox(), ::testing::ElementsAre(L"1 勝ち"));
    EXPECT_EQ(run.Log().Count(L"deal 2"), 1u);
    EXPECT_TRUE(WaitUntil([&] { return run.IniValue(L"Game", L"GameNo") == L"2"; }));
    EXPECT_EQ(run.IniValue(L"Score", L"won"), L"1");
}

INSTANTIATE_TEST_SUITE_P(Clicked, StubbornWinTest,
                         ::testing::Values(StubbornWinCase{"WhilePressed", false},
                                           StubbornWinCase{"AfterTheBound", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dw::e2e
