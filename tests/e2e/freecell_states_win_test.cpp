// FreeCell in whatever state the player left it, end to end under Wine: a
// dialog or menu of its own when the retry's F3 comes, or a win or
// no-more-moves dialog from a game before the program when the start button
// is pressed. F3 is dropped there; the deal asked for follows once it is
// gone, and nothing is booked for a game that is not the run's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "e2e/dealwarden_run_win.h"
#include "e2e/practice_fixture_win.h"
#include "freecell/contract.h"
#include "harness/screenshot_win.h"
#include "ui/CtrlF_win.h"

namespace dw::e2e {
namespace {

using namespace harness;
using namespace std::chrono_literals;
using F = ScoreField;

class FreeCellStateTest : public ::testing::Test {
public:
    void TearDown() override {
        if (HasFailure()) SaveScreenshot(CurrentTestName());
    }
    HWND FreeCellDialog(const std::wstring& title) {
        return WaitForDialogReady(ByTitle(title, OwnerProcess(run.FreeCell())), L"Button");
    }
    DealwardenRun run;
};

// Something of FreeCell's own that the player opens and closes again.
struct OpenedByThePlayer {
    const char* name;
    std::function<bool(FreeCellStateTest&)> open;
    std::function<void(FreeCellStateTest&)> close;
};

class RetryWhileFreeCellIsBusyTest : public FreeCellStateTest,
                                     public ::testing::WithParamInterface<OpenedByThePlayer> {};

TEST_P(RetryWhileFreeCellIsBusyTest, TheSameDealIsDealtOnceItIsClosed) {
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    ASSERT_TRUE(GetParam().open(*this)) << run.Log().Dump();
    Click(run.BarButton(TFCCtrF::kIdSpeedButton2));
    ASSERT_TRUE(run.WaitForScore(F::Label1, L"2")) << "the retry is booked";
    GetParam().close(*this);
    EXPECT_TRUE(run.WaitForDeal(1, 2)) << "the same deal again\n" << WideToUtf8(run.Log().Dump());
    EXPECT_EQ(run.ScoreText(F::Label1), L"2") << "booked once";
    EXPECT_TRUE(WaitUntil([&] { return run.IniValue(L"Game", L"TryCnt") == L"2"; }));
    EXPECT_EQ(run.Log().Count(L"deal 1"), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Opened, RetryWhileFreeCellIsBusyTest,
    ::testing::Values(
        OpenedByThePlayer{"Statistics",
                          [](FreeCellStateTest& t) {
                              PostMessageW(t.run.FreeCell(), WM_KEYDOWN, VK_F4, 0);
                              return t.run.Log().WaitForLine(L"shown stats").has_value();
                          },
                          [](FreeCellStateTest& t) {
                              HWND stats = t.FreeCellDialog(L"統計情報");
                              ASSERT_NE(stats, nullptr);
                              Click(FindChild(stats, L"Button"));
                          }},
        OpenedByThePlayer{"GameMenu",
                          [](FreeCellStateTest& t) {
                              PostMessageW(t.run.FreeCell(), WM_SYSCOMMAND, SC_KEYMENU, 'g');
                              return t.run.Log().WaitForLine(L"menu open").has_value();
                          },
                          [](FreeCellStateTest& t) {
                              for (int i = 0; i < 2; ++i)
                                  PostMessageW(t.run.FreeCell(), WM_KEYDOWN, VK_ESCAPE, 0);
                              ASSERT_TRUE(t.run.Log().WaitForLine(L"menu closed"));
                          }}),
    [](const auto& info) { return std::string(info.param.name); });

// A dialog of FreeCell's from before the program, up when the start button
// is pressed: left to the player, not booked; once the player has answered
// it, game 1 is dealt and the run begins.
struct OldDialog {
    const char* name;
    bool win;               // else no more moves
    const wchar_t* answer;  // the button the player clicks
};

class StartOverAnOldDialogTest : public FreeCellStateTest,
                                 public ::testing::WithParamInterface<OldDialog> {};

TEST_P(StartOverAnOldDialogTest, NothingIsBookedForItAndGameOneIsDealtOnceItIsGone) {
    const OldDialog& c = GetParam();
    run.Start();
    PostMessageW(run.FreeCell(), c.win ? PracticeWinMessage() : PracticeStuckMessage(), 0, 0);
    HWND old = FreeCellDialog(
        std::wstring(freecell::CkWord[c.win ? freecell::kWin : freecell::kNoMoreMoves]));
    ASSERT_NE(old, nullptr);
    run.PressStart();
    ASSERT_TRUE(run.Log().WaitForLine(L"ignored select")) << "the start's F3 is dropped";
    ASSERT_TRUE(WaitUntil([&] { return IsVisible(run.ScoreWindow()); }));
    // Some heartbeats with the dialog up: nothing booked, nothing pressed.
    EXPECT_FALSE(WaitUntil([&] { return run.ScoreText(F::Label1) != L"1"; }, 2500ms));
    EXPECT_FALSE(run.Log().Contains(L"pressed win 1"));
    Click(FindChildByText(old, L"Button", c.answer));
    ASSERT_TRUE(run.WaitForDeal(1)) << WideToUtf8(run.Log().Dump());
    EXPECT_EQ(run.ScoreText(F::Label1), L"1");
    EXPECT_EQ(run.ScoreText(F::Label18), L"0") << "no win booked";
    EXPECT_EQ(run.ScoreText(F::Label19), L"0") << "no failed try booked";
    EXPECT_THAT(run.HistoryBox(), ::testing::IsEmpty());
    ASSERT_TRUE(run.Win(2)) << "the run goes on";
    EXPECT_THAT(run.HistoryBox(), ::testing::ElementsAre(L"1 勝ち"));
}

INSTANTIATE_TEST_SUITE_P(Up, StartOverAnOldDialogTest,
                         ::testing::Values(OldDialog{"NoMoreMoves", false,
                                                     L"同じゲームをやり直す(&R)"},
                                           OldDialog{"Win", true, L"キャンセル"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dw::e2e
