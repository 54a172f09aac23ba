// Dealwarden end to end under Wine against the practice FreeCell: start,
// bookings shown and saved, the settings file's rules, the menu command,
// FreeCell missing, a kill after a booking, docking, minimize and restore.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "e2e/dealwarden_run_win.h"
#include "freecell/launcher.h"
#include "harness/screenshot_win.h"
#include "ui/SeisekiF_win.h"

namespace dw::e2e {
namespace {

using namespace harness;
using F = ScoreField;
using ::testing::ElementsAre;

PracticeOptions StuckAnsweredAfter(int ms) {
    PracticeOptions o;
    o.stuckAutoMs = ms;
    return o;
}

TEST(ProgramTest, FreshRecordWinThenFailedTryThenFreeCellClosedSavesAndEnds) {
    // Answered after a tick has seen it: the tick waits for the answer.
    DealwardenRun run(StuckAnsweredAfter(1500));
    run.Start();
    HWND button = run.Button1();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(Text(button), L"Dealwarden を開始");
    EXPECT_TRUE(WaitUntil([&] { return IsVisible(run.StartWindow()); }));
    SaveScreenshot(L"start_window");

    run.PressStart();
    ASSERT_TRUE(run.WaitForDeal(1)) << run.Log().Dump();
    EXPECT_FALSE(IsVisible(run.StartWindow()));
    EXPECT_TRUE(IsVisible(run.ScoreWindow()));
    EXPECT_TRUE(IsVisible(run.ControlBar()));
    EXPECT_EQ(run.ScoreText(F::Label13), L"00.00%");
    EXPECT_EQ(run.ScoreText(F::Label9), L"00.00%");

    PostMessageW(run.FreeCell(), PracticeWinMessage(), 0, 0);
    ASSERT_TRUE(run.WaitForDeal(2)) << run.Log().Dump();
    ASSERT_TRUE(run.WaitForScore(F::SpinEdit1, L"2"));
    EXPECT_EQ(run.ScoreText(F::Label13), L"100.00%");
    EXPECT_EQ(run.ScoreText(F::Label9), L"100.00%");
    EXPECT_EQ(run.ScoreText(F::Label16), L"1");
    EXPECT_EQ(run.ScoreText(F::Label18), L"1");
    EXPECT_EQ(run.ScoreText(F::Label17), L"0");
    EXPECT_EQ(run.ScoreText(F::Label20), L"1");
    EXPECT_EQ(run.ScoreText(F::Label11), L"1連勝中");
    EXPECT_THAT(run.HistoryBox(), ElementsAre(L"1 勝ち"));
    SaveScreenshot(L"score_window");

    PostMessageW(run.FreeCell(), PracticeStuckMessage(), 0, 0);
    ASSERT_TRUE(run.WaitForScore(F::Label1, L"2")) << run.Log().Dump();
    EXPECT_EQ(run.ScoreText(F::Label17), L"1");
    EXPECT_EQ(run.ScoreText(F::Label13), L"50.00%");
    EXPECT_EQ(run.ScoreText(F::Label11), L"1連敗中");

    // The player closes FreeCell: within about a second Dealwarden saves and ends.
    PostMessageW(run.FreeCell(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitForExit(std::chrono::milliseconds(4000)));
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {{L"GameNo", L"2"},
                                                                  {L"TryCnt", L"2"}};
    for (auto [key, value] : expected) EXPECT_EQ(run.IniValue(L"Game", key), value) << key;
    const std::pair<const wchar_t*, const wchar_t*> score[] = {{L"won", L"1"},    {L"wins", L"1"},
                                                               {L"lost", L"1"},   {L"losses", L"1"},
                                                               {L"streak", L"1"}, {L"stype", L"0"}};
    for (auto [key, value] : score) EXPECT_EQ(run.IniValue(L"Score", key), value) << key;
    EXPECT_EQ(run.IniValue(L"Show", L"RenMode"), L"0");
    EXPECT_EQ(run.IniValue(L"Hist", L"hist0"), L"1 勝ち");
    EXPECT_TRUE(run.IniHasKey(L"Hist", L"hist99"));
}

TEST(ProgramTest, EditedSettingsAreShownAndWrittenBackByTheFileRules) {
    DealwardenRun run;
    run.WriteSettings(
        L"[Game]\r\nGameNo=0x10\r\nTryCnt=abc\r\n[Score]\r\nwon=-3\r\nwins=5\r\nlost=7\r\nlosses="
        L"2\r\n"
        L"streak=2\r\nstype=1\r\n[Show]\r\nRenMode=5\r\n[Hist]\r\nhist0=15 負け（3回）\r\nhist1=14 "
        L"勝ち\r\n");
    run.Start();
    ASSERT_NE(run.ScoreWindow(), nullptr);
    EXPECT_EQ(run.ScoreText(F::SpinEdit1), L"16");
    EXPECT_EQ(run.ScoreText(F::Label1), L"1");
    EXPECT_EQ(run.ScoreText(F::Label18), L"-3");
    EXPECT_EQ(run.ScoreText(F::Label9), L"-75.00%");
    EXPECT_EQ(run.ScoreText(F::Label11), L"2連勝中");
    EXPECT_THAT(run.HistoryBox(), ElementsAre(L"15 負け（3回）", L"14 勝ち"));

    run.PressStart();
    ASSERT_TRUE(run.WaitForDeal(16)) << run.Log().Dump();
    PostMessageW(run.FreeCell(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.WaitForExit(std::chrono::milliseconds(4000)));
    EXPECT_EQ(run.IniValue(L"Game", L"GameNo"), L"16");
    EXPECT_EQ(run.IniValue(L"Game", L"TryCnt"), L"1");
    EXPECT_EQ(run.IniValue(L"Score", L"won"), L"-3");
    EXPECT_EQ(run.IniValue(L"Show", L"RenMode"), L"1");
    EXPECT_EQ(run.IniValue(L"Hist", L"hist0"), L"15 負け（3回）");
    EXPECT_EQ(run.IniValue(L"Hist", L"hist1"), L"14 勝ち");
    EXPECT_TRUE(run.IniHasKey(L"Hist", L"hist57"));
}

TEST(ProgramTest, GameNumberPastTheLastDealEntersOneAndTheBoxShowsOne) {
    DealwardenRun run;
    run.WriteSettings(L"[Game]\r\nGameNo=1000001\r\nTryCnt=3\r\n");
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    EXPECT_TRUE(run.WaitForScore(F::SpinEdit1, L"1"));
    EXPECT_EQ(run.ScoreText(F::Label1), L"1");
}

class MenuCommandTest : public ::testing::TestWithParam<int> {};

TEST_P(MenuCommandTest, TypedNumberEndsTheProgramAndTheNextRunEntersIt) {
    const int chosen = GetParam();
    DealwardenRun run;
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    HWND score = run.ScoreWindow();
    SetText(GetDlgItem(score, TFCSeisekiF::ControlId(F::SpinEdit1)), std::to_wstring(chosen));
    PostCommand(score, TFCSeisekiF::kIdNo1);
    ASSERT_TRUE(run.WaitForExit(std::chrono::milliseconds(4000)));
    EXPECT_TRUE(run.Log().WaitForLine(L"close"));
    EXPECT_EQ(run.IniValue(L"Game", L"GameNo"), std::to_wstring(chosen));

    run.Start();
    ASSERT_TRUE(run.WaitForScore(F::SpinEdit1, std::to_wstring(chosen)));
    run.PressStart();
    EXPECT_TRUE(run.WaitForDeal(chosen)) << run.Log().Dump();
}

// 0 is stored and entered as it is: only numbers above the last deal wrap.
INSTANTIATE_TEST_SUITE_P(Chosen, MenuCommandTest, ::testing::Values(500, 0));

TEST(ProgramTest, NotAnIntegerInTheNumberBoxIsReportedAndNothingChanges) {
    DealwardenRun run;
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    HWND score = run.ScoreWindow();
    SetText(GetDlgItem(score, TFCSeisekiF::ControlId(F::SpinEdit1)), L"1.5");
    PostCommand(score, TFCSeisekiF::kIdNo1);
    HWND box = WaitForDialogReady(ByTitle(L"Dealwarden", run.Program().Id()), L"Button");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(FindChildByText(box, L"Static", L"''1.5'' は整数ではありません."), nullptr);
    Click(FindChild(box, L"Button"));
    EXPECT_TRUE(WaitForGone(box));
    EXPECT_TRUE(run.Program().Running());
    EXPECT_FALSE(run.Log().Contains(L"close"));
}

TEST(ProgramTest, FreeCellNotFoundTellsThePlayerAndTheButtonEndsTheProgram) {
    ASSERT_FALSE(FileExists(DriveRootInstallPath()))
        << "a FreeCell is installed in the test prefix";
    DealwardenRun run({}, /*installFreeCell=*/false);
    run.Start();
    HWND box = WaitForDialogReady(ByTitle(L"エラー", run.Program().Id()), L"Button");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(FindChildByText(box, L"Static", kNotFoundText), nullptr);
    EXPECT_TRUE(OwnedAndInFront(box, run.StartWindow()));
    Click(FindChild(box, L"Button"));
    HWND button = run.Button1();
    ASSERT_TRUE(WaitUntil([&] { return Text(button) == L"Dealwarden を終了"; }));
    EXPECT_TRUE(FileExists(run.IniPath())) << "the close procedure writes the settings";
    EXPECT_TRUE(WaitUntil([&] { return IsVisible(run.StartWindow()); }));
    Click(button);
    EXPECT_TRUE(run.WaitForExit(std::chrono::milliseconds(4000)));
}

TEST(ProgramTest, KilledAfterABookingKeepsTheBookingOnDisk) {
    DealwardenRun run;
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    PostMessageW(run.FreeCell(), PracticeWinMessage(), 0, 0);
    ASSERT_TRUE(run.WaitForDeal(2));
    ASSERT_TRUE(WaitUntil([&] { return run.IniValue(L"Game", L"GameNo") == L"2"; }));
    run.Program().Kill();
    EXPECT_EQ(run.IniValue(L"Score", L"won"), L"1");
    EXPECT_EQ(run.IniValue(L"Hist", L"hist0"), L"1 勝ち");
}

TEST(ProgramTest, ScoreWindowAndControlBarDockToFreeCell) {
    DealwardenRun run;
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    const RECT fc = ScreenRect(run.FreeCell());
    const RECT score = ScreenRect(run.ScoreWindow());
    const RECT bar = ScreenRect(run.ControlBar());
    EXPECT_EQ(score.left, fc.right + 6);
    EXPECT_EQ(score.top, fc.top + 6);
    EXPECT_EQ(score.bottom - score.top, fc.bottom - fc.top - 12);
    EXPECT_EQ(bar.left, fc.left + 6);
    EXPECT_EQ(bar.right - bar.left, fc.right - fc.left - 12);
    EXPECT_EQ(bar.bottom, fc.top - 6);
    SaveScreenshot(L"docked");
}

TEST(ProgramTest, MinimizingTheProgramTakesFreeCellAndItsWindowsAlong) {
    DealwardenRun run;
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    HWND app = run.AppWindow();
    Post(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(run.Log().WaitForLine(L"minimize"));
    EXPECT_TRUE(
        WaitUntil([&] { return !IsVisible(run.ScoreWindow()) && !IsVisible(run.ControlBar()); }));
    Post(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(run.Log().WaitForLine(L"restore"));
    EXPECT_TRUE(
        WaitUntil([&] { return IsVisible(run.ScoreWindow()) && IsVisible(run.ControlBar()); }));
    EXPECT_FALSE(IsVisible(run.StartWindow())) << "the start window never comes back";
}

}  // namespace
}  // namespace dw::e2e
