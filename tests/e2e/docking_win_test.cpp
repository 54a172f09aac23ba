// The score window and the control bar stay docked to FreeCell's window
// under Wine, which reports none of another process's moves: wherever
// another program puts FreeCell they follow within the heartbeat, stay on
// the screen beside it, go with it when it is minimized and come back when
// it is restored, a FreeCell minimized before the start included.
#include <gtest/gtest.h>

#include <string>

#include "e2e/dealwarden_run_win.h"

namespace dw::e2e {
namespace {

using namespace harness;

// The heartbeat is a second; the windows follow at its next look.
constexpr milliseconds kFollowed{1500};
constexpr int kGap = 6;

RECT WorkArea() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

bool Inside(const RECT& r, const RECT& area) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
           r.bottom <= area.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT both{};
    return IntersectRect(&both, &a, &b) != FALSE;
}

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Where the windows stand against FreeCell.
enum class Where { Normal, BarBelow, ScoreAtTheLeft, Both };

// Docked by the rules for that place: the bar 6 pixels above (or below)
// FreeCell and 12 narrower, the score window 6 pixels right (or left) of it
// and 12 shorter; both wholly on the work area and neither over FreeCell.
bool DockedAs(Where where, HWND fc, HWND score, HWND bar) {
    const RECT f = ScreenRect(fc), s = ScreenRect(score), b = ScreenRect(bar);
    const bool barBelow = where == Where::BarBelow || where == Where::Both;
    const bool scoreLeft = where == Where::ScoreAtTheLeft || where == Where::Both;
    const bool barDocked = b.left == f.left + kGap && b.right == f.right - kGap &&
                           (barBelow ? b.top == f.bottom + kGap : b.bottom == f.top - kGap);
    const bool scoreDocked = s.top == f.top + kGap && s.bottom == f.bottom - kGap &&
                             (scoreLeft ? s.right == f.left - kGap : s.left == f.right + kGap);
    const RECT work = WorkArea();
    return barDocked && scoreDocked && Inside(s, work) && Inside(b, work) && !Overlap(s, f) &&
           !Overlap(b, f);
}

std::string Positions(DealwardenRun& run) {
    return "FreeCell " + Describe(ScreenRect(run.FreeCell())) + ", score window " +
           Describe(ScreenRect(run.ScoreWindow())) + ", bar " +
           Describe(ScreenRect(run.ControlBar()));
}

struct MoveCase {
    const char* name;
    // FreeCell's new rectangle, from the work area's edges; negative: from the right.
    int left, top, width, height;
    bool resize;  // MoveWindow, else SetWindowPos without a change of size
    Where where;
};

void PrintTo(const MoveCase& c, std::ostream* os) {
    *os << c.name;
}

const MoveCase kMoves[] = {
    {"Moved", 300, 250, 640, 480, false, Where::Normal},
    {"MovedAndResized", 150, 200, 760, 560, true, Where::Normal},
    // A common place: the bar has no room above it.
    {"TopEdge", 200, 10, 640, 480, false, Where::BarBelow},
    // The score window has no room at its right.
    {"RightEdge", -640, 150, 640, 480, false, Where::ScoreAtTheLeft},
    {"TopRightCorner", -640, 10, 640, 480, false, Where::Both},
};

class DockingTest : public ::testing::TestWithParam<MoveCase> {};

// Another program moves FreeCell (no event reaches Dealwarden under Wine).
TEST_P(DockingTest, FreeCellPutElsewhereIsFollowedOnTheScreenBesideIt) {
    const MoveCase& c = GetParam();
    DealwardenRun run;
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    HWND fc = run.FreeCell();
    ASSERT_TRUE(DockedAs(Where::Normal, fc, run.ScoreWindow(), run.ControlBar())) << Positions(run);

    const RECT work = WorkArea();
    const int left = c.left >= 0 ? work.left + c.left : work.right + c.left;
    if (c.resize)
        MoveWindow(fc, left, work.top + c.top, c.width, c.height, TRUE);
    else
        SetWindowPos(fc, nullptr, left, work.top + c.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil(
        [&] { return DockedAs(c.where, fc, run.ScoreWindow(), run.ControlBar()); }, kFollowed))
        << Positions(run);
    EXPECT_TRUE(IsVisible(run.ScoreWindow()) && IsVisible(run.ControlBar()));
    // The game goes on as before.
    EXPECT_TRUE(run.Win(2)) << run.Log().Dump();
}

INSTANTIATE_TEST_SUITE_P(Where, DockingTest, ::testing::ValuesIn(kMoves),
                         [](const auto& info) { return std::string(info.param.name); });

// Above FreeCell in the z-order.
bool InFrontOf(HWND w, HWND fc) {
    for (HWND above = GetWindow(fc, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
        if (above == w) return true;
    return false;
}

// No room beside a maximized FreeCell: over it, on the screen, in front of it.
TEST(DockingMaximizedTest, OverAMaximizedFreeCellBothStayInFrontOfItAndOffItsCaption) {
    DealwardenRun run;
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    HWND fc = run.FreeCell(), score = run.ScoreWindow(), bar = run.ControlBar();
    Post(fc, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    const auto over = [&] {
        const RECT f = ScreenRect(fc), s = ScreenRect(score), b = ScreenRect(bar);
        POINT client{0, 0};
        ClientToScreen(fc, &client);
        const RECT work = WorkArea();
        return IsZoomed(fc) && Inside(s, work) && Inside(b, work) && Overlap(s, f) &&
               Overlap(b, f) && !Overlap(s, b) && s.top > client.y && InFrontOf(score, fc) &&
               InFrontOf(bar, fc);
    };
    EXPECT_TRUE(WaitUntil(over, kFollowed)) << Positions(run);
    // The player clicks FreeCell: it comes to the front, and they after it.
    SetWindowPos(fc, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_FALSE(InFrontOf(score, fc));
    EXPECT_TRUE(WaitUntil(over, kFollowed)) << Positions(run);
    EXPECT_EQ(GetForegroundWindow(), fc) << "the keyboard stays with FreeCell";
}

// FreeCell's own minimize and restore buttons: WM_SYSCOMMAND, as they send it.
TEST(DockingMinimizeTest, FreeCellsOwnMinimizeHidesBothAndItsRestoreBringsThemBackDocked) {
    DealwardenRun run;
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    HWND fc = run.FreeCell();
    HWND score = run.ScoreWindow(), bar = run.ControlBar();

    Post(fc, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsMinimized(fc); }));
    EXPECT_TRUE(WaitUntil([&] { return !IsVisible(score) && !IsVisible(bar); }, kFollowed));

    SetWindowPos(fc, nullptr, 250, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Post(fc, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return IsVisible(score) && IsVisible(bar) && DockedAs(Where::Normal, fc, score, bar);
        },
        kFollowed))
        << Positions(run);

    // A window the player closed stays closed through the next minimize.
    Post(bar, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsVisible(bar); }));
    Post(fc, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsVisible(score); }, kFollowed));
    Post(fc, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsVisible(score); }, kFollowed));
    EXPECT_FALSE(IsVisible(bar));
    EXPECT_TRUE(run.Win(2)) << run.Log().Dump();
}

// The player minimized FreeCell, then started Dealwarden.
TEST(DockingMinimizeTest, AFreeCellMinimizedBeforeTheStartIsRestoredAndDealsAndTheWindowsDockToIt) {
    PracticeOptions minimized;
    minimized.minimized = true;
    DealwardenRun run(minimized);
    // The FREECELL.EXE Dealwarden would find, with the run's options and log.
    Process freecell = Process::Start(run.Dir() + L"\\FREECELL.EXE", {}, run.Dir());
    HWND fc = WaitForTopLevel(ByClass(L"FreeCell", freecell.Id()));
    ASSERT_NE(fc, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsMinimized(fc); }));

    run.Start();
    ASSERT_EQ(run.FreeCell(), fc);
    run.PressStart();
    EXPECT_TRUE(run.WaitForDeal(1)) << "F3 reached a restored FreeCell\n" << run.Log().Dump();
    EXPECT_FALSE(IsMinimized(fc));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return IsVisible(run.ScoreWindow()) && IsVisible(run.ControlBar()) &&
                   DockedAs(Where::Normal, fc, run.ScoreWindow(), run.ControlBar());
        },
        kFollowed))
        << Positions(run);
}

}  // namespace
}  // namespace dw::e2e
