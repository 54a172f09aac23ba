// How the program ends and how many copies of it run, end to end under Wine:
// every way of quitting runs the close procedure (FreeCell told to close,
// the record saved) and ends with status 0; a whole session too; a second
// copy hands over to the running one and writes nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <cstdio>

#include "e2e/dealwarden_run_win.h"
#include "e2e/practice_fixture_win.h"
#include "harness/screenshot_win.h"
#include "ui/CtrlF_win.h"
#include "ui/SeisekiF_win.h"

namespace dw::e2e {
namespace {

using namespace harness;
using namespace std::chrono_literals;
using F = ScoreField;

constexpr auto kExitDeadline = 10000ms;

struct ClosePath {
    const char* name;
    bool started;  // after the start button and a won game
    std::function<void(DealwardenRun&)> ask;
};

void PrintTo(const ClosePath& c, std::ostream* os) {
    *os << c.name;
}

// Alt+F4 as the start window receives it.
void AltF4(HWND w) {
    Post(w, WM_SYSKEYDOWN, VK_F4, static_cast<LPARAM>(KF_ALTDOWN) << 16);
}
void CloseFromTheTaskbar(DealwardenRun& run) {
    Post(run.AppWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

const ClosePath kClosePaths[] = {
    {"StartWindowAltF4", false, [](DealwardenRun& r) { AltF4(r.StartWindow()); }},
    {"TaskbarEntryBeforeTheStart", false, CloseFromTheTaskbar},
    {"TaskbarEntry", true, CloseFromTheTaskbar},
    {"QuitButton", true, [](DealwardenRun& r) { Click(r.BarButton(TFCCtrF::kIdSpeedButton4)); }},
    {"MenuCommand", true,
     [](DealwardenRun& r) { PostCommand(r.ScoreWindow(), TFCSeisekiF::kIdNo1); }},
    {"FreeCellClosed", true, [](DealwardenRun& r) { PostMessageW(r.FreeCell(), WM_CLOSE, 0, 0); }},
};

class ClosePathTest : public ::testing::TestWithParam<ClosePath> {
protected:
    void TearDown() override {
        if (HasFailure()) SaveScreenshot(CurrentTestName());
    }
    DealwardenRun run;
};

TEST_P(ClosePathTest, EndsWithFreeCellToldToCloseTheRecordOnDiskAndStatusZero) {
    const ClosePath& c = GetParam();
    run.Start();
    ASSERT_NE(run.FreeCell(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsVisible(run.StartWindow()); }));
    if (c.started) {
        run.PressStart();
        ASSERT_TRUE(run.WaitForDeal(1)) << run.Log().Dump();
        ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    }
    c.ask(run);
    ASSERT_TRUE(run.WaitForExit(kExitDeadline)) << "still running";
    EXPECT_EQ(run.Program().ExitCode(), 0u);
    EXPECT_TRUE(run.Log().Contains(L"close")) << "FreeCell was not told to close";
    EXPECT_EQ(run.IniValue(L"Game", L"GameNo"), c.started ? L"2" : L"1");
    EXPECT_EQ(run.IniValue(L"Hist", L"hist0"), c.started ? L"1 勝ち" : L"");
    EXPECT_TRUE(run.IniHasKey(L"Hist", L"hist99"));
}

INSTANTIATE_TEST_SUITE_P(EveryWay, ClosePathTest, ::testing::ValuesIn(kClosePaths),
                         [](const auto& info) { return std::string(info.param.name); });

// A whole session, ending with status 0. Wine forgives a fault inside a
// window procedure that Windows would end the program for (from Windows 8 on
// by default); cmake/check-wine-exceptions.sh runs this test again with
// Wine's exception channel on and fails on any processor exception raised in
// the Dealwarden process whose id the test prints.
TEST(SessionTest, AWholeSessionEndsWithStatusZero) {
    PracticeOptions o;
    o.stuckAutoMs = 1500;  // seen by a tick even once a second
    DealwardenRun run(o);
    run.Start();
    std::printf("dealwarden pid %04lx\n", static_cast<unsigned long>(run.Program().Id()));
    std::fflush(stdout);
    run.PressStart();
    ASSERT_TRUE(run.WaitForDeal(1)) << run.Log().Dump();
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    PostMessageW(run.FreeCell(), PracticeStuckMessage(), 0, 0);
    ASSERT_TRUE(run.WaitForScore(F::Label1, L"2"));
    ASSERT_TRUE(run.Log().WaitForLine(L"closed stuck restart"));
    // The bar takes clicks again once the watcher has seen the dialog go.
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(run.BarButton(TFCCtrF::kIdSpeedButton2)); }));
    Click(run.BarButton(TFCCtrF::kIdSpeedButton2));
    ASSERT_TRUE(run.WaitForDeal(2, 2)) << run.Log().Dump();
    Click(run.BarButton(TFCCtrF::kIdSpeedButton3));
    ASSERT_TRUE(run.Log().WaitForLine(L"undo 1"));
    Click(run.BarButton(TFCCtrF::kIdSpeedButton4));
    ASSERT_TRUE(run.WaitForExit(kExitDeadline));
    EXPECT_EQ(run.Program().ExitCode(), 0u);
    EXPECT_EQ(run.IniValue(L"Game", L"TryCnt"), L"3");
    EXPECT_EQ(run.IniValue(L"Hist", L"hist0"), L"1 勝ち");
}

// One FreeCell, one record: a second copy, from the program's folder or any
// other, hands over to the running one — which comes to the front — and
// ends, touching no settings file and watching nothing. The first copy goes
// on booking, and its file holds every game played.
TEST(SecondCopyTest, ACopyStartedWhileOneRunsHandsOverWritesNothingAndEveryGameIsKept) {
    DealwardenRun run;
    run.Start();
    HWND start = run.StartWindow();
    ASSERT_NE(run.FreeCell(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsVisible(start); }));
    TempDir elsewhere(L"second-copy");
    const auto expectHandsOver = [&](const std::wstring& dir, HWND front) {
        SCOPED_TRACE(dir.empty() ? "the same folder" : "another folder");
        const std::string before = ReadBytes(run.IniPath());
        Process second = run.StartAnotherCopy(dir);
        ASSERT_TRUE(second.WaitForExit(kExitDeadline)) << "the second copy stays";
        EXPECT_EQ(second.ExitCode(), 0u);
        EXPECT_EQ(ReadBytes(run.IniPath()), before) << "the settings file was touched";
        EXPECT_EQ(FindTopLevels(ByClass(L"TFCMainF")).size(), 1u);
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == front; }))
            << "the running copy's window is not in front";
    };
    expectHandsOver(L"", start);

    run.PressStart();
    ASSERT_TRUE(run.WaitForDeal(1)) << run.Log().Dump();
    ASSERT_TRUE(run.Win(2)) << run.Log().Dump();
    ASSERT_TRUE(WaitUntil([&] { return run.IniValue(L"Game", L"GameNo") == L"2"; }));
    expectHandsOver(L"", run.ScoreWindow());
    expectHandsOver(elsewhere.Path(), run.ScoreWindow());
    EXPECT_FALSE(FileExists(elsewhere.File(L"Dealwarden.Ini")));
    EXPECT_EQ(run.Log().Count(L"window"), 1u) << "one FreeCell";

    ASSERT_TRUE(run.Win(3)) << run.Log().Dump();
    Click(run.BarButton(TFCCtrF::kIdSpeedButton4));
    ASSERT_TRUE(run.WaitForExit(kExitDeadline));
    EXPECT_EQ(run.IniValue(L"Game", L"GameNo"), L"3");
    EXPECT_EQ(run.IniValue(L"Score", L"won"), L"2");
    EXPECT_EQ(run.IniValue(L"Hist", L"hist0"), L"2 勝ち");
    EXPECT_EQ(run.IniValue(L"Hist", L"hist1"), L"1 勝ち");
}

}  // namespace
}  // namespace dw::e2e
