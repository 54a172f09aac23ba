// The control bar end to end under Wine: retry, undo and quit against the
// practice FreeCell.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "e2e/dealwarden_run_win.h"
#include "harness/screenshot_win.h"
#include "ui/CtrlF_win.h"

namespace dw::e2e {
namespace {

using namespace harness;
using F = ScoreField;

class ControlBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
        bar = run.ControlBar();
        ASSERT_NE(bar, nullptr);
    }
    HWND Button(UINT id) { return GetDlgItem(bar, static_cast<int>(id)); }

    DealwardenRun run;
    HWND bar = nullptr;
};

TEST_F(ControlBarTest, ButtonsShowTheirCaptions) {
    EXPECT_EQ(Text(bar), L"Dealwarden ｺﾝﾄﾛｰﾙﾊﾞｰ");
    EXPECT_EQ(Text(Button(TFCCtrF::kIdSpeedButton2)), L"やり直し");
    EXPECT_EQ(Text(Button(TFCCtrF::kIdSpeedButton3)), L"１つ戻す");
    EXPECT_EQ(Text(Button(TFCCtrF::kIdSpeedButton4)), L"終了");
    const RECT fc = ScreenRect(run.FreeCell());
    EXPECT_LT(ScreenRect(bar).bottom, fc.top) << "the bar lies above FreeCell";
    SaveScreenshot(L"control_bar");
}

TEST_F(ControlBarTest, RetryTwiceOnAFreshGameBooksOneLossAndDealsTheSameGameTwice) {
    Click(Button(TFCCtrF::kIdSpeedButton2));
    ASSERT_TRUE(run.WaitForDeal(1, 2)) << run.Log().Dump();
    Click(Button(TFCCtrF::kIdSpeedButton2));
    ASSERT_TRUE(run.WaitForDeal(1, 3)) << run.Log().Dump();
    EXPECT_TRUE(run.WaitForScore(F::Label1, L"3"));
    EXPECT_EQ(run.ScoreText(F::Label17), L"1");
    EXPECT_EQ(run.ScoreText(F::Label19), L"1");
    EXPECT_EQ(run.ScoreText(F::Label11), L"1連敗中");
    EXPECT_EQ(run.Log().Count(L"deal 2"), 0u);
    // The booking is on disk without waiting for the close.
    EXPECT_TRUE(WaitUntil([&] { return run.IniValue(L"Game", L"TryCnt") == L"3"; }));
    EXPECT_EQ(run.IniValue(L"Score", L"lost"), L"1");
}

TEST_F(ControlBarTest, UndoReachesFreeCellsMenuAndLeavesTheRecordAlone) {
    const std::wstring tryBefore = run.ScoreText(F::Label1);
    Click(Button(TFCCtrF::kIdSpeedButton3));
    EXPECT_TRUE(run.Log().WaitForLine(L"undo 1")) << run.Log().Dump();
    EXPECT_EQ(run.ScoreText(F::Label1), tryBefore);
    EXPECT_EQ(run.ScoreText(F::Label17), L"0");
    EXPECT_FALSE(FileExists(run.IniPath())) << "nothing was booked, nothing saved";
}

TEST_F(ControlBarTest, QuitClosesFreeCellSavesAndEnds) {
    Click(Button(TFCCtrF::kIdSpeedButton4));
    EXPECT_TRUE(run.Log().WaitForLine(L"close")) << run.Log().Dump();
    ASSERT_TRUE(run.WaitForExit(std::chrono::milliseconds(4000)));
    EXPECT_EQ(run.IniValue(L"Game", L"GameNo"), L"1");
    EXPECT_EQ(run.IniValue(L"Game", L"TryCnt"), L"1");
    EXPECT_TRUE(run.IniHasKey(L"Hist", L"hist99"));
}

TEST_F(ControlBarTest, CloseBoxOnlyHidesTheBar) {
    Post(bar, WM_CLOSE);
    EXPECT_TRUE(WaitUntil([&] { return !IsVisible(bar); }));
    EXPECT_TRUE(run.Program().Running());
    EXPECT_FALSE(run.Log().Contains(L"close"));
}

}  // namespace
}  // namespace dw::e2e
