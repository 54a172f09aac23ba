// The docked windows following FreeCell's window: placed again when and
// only when something they dock to changed, hidden while FreeCell is
// minimized and back where they belong when it is restored, kept in front
// where they stand over it; and how the run drives that from its start
// button, its heartbeat and FreeCell's moves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "freecell/contract.h"
#include "run/freecell_follower.h"
#include "run/play_run.h"
#include "tests/fakes/fake_docking.h"
#include "tests/fakes/fake_process_system.h"
#include "tests/fakes/fake_run_seams.h"
#include "tests/fakes/fake_window_system.h"
#include "tests/fakes/scripted_freecell.h"

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace dw {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using namespace dw::testing;

const Rect kWork{0, 0, 1280, 994};
// The practice FreeCell where it starts: 640 x 480 at 200, 150.
const Rect kFrame{200, 150, 840, 630};

FreeCellOnScreen Seen(Rect frame, bool minimized = false, Rect work = kWork) {
    return {true, minimized, {frame, frame.top + 42}, work};
}

class FollowerTest : public ::testing::Test {
protected:
    FollowerTest() { screen.now = Seen(kFrame); }
    std::wstring Placed(const FreeCellOnScreen& s) { return PlaceLine(s, windows.sizes); }
    void Heartbeat() { follower.Look(kFreeCell, LookCause::Heartbeat); }
    void Event() { follower.Look(kFreeCell, LookCause::FreeCellEvent); }
    std::vector<std::wstring> Taken() { return std::exchange(log, {}); }

    std::vector<std::wstring> log;
    FakeFreeCellScreen screen;
    FakeDockedWindows windows{log};
    FreeCellFollower follower{screen, windows};
};

struct ChangeCase {
    const char* name;
    std::function<void(FreeCellOnScreen&, DockSizes&)> change;
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.name;
}

const ChangeCase kChanges[] = {
    {"Moved",
     [](FreeCellOnScreen& s, DockSizes&) {
         s.frame.frame = {300, 200, 940, 680};
     }},
    {"Resized", [](FreeCellOnScreen& s, DockSizes&) { s.frame.frame.right += 100; }},
    // Its menu bar wrapped to a second line.
    {"CardsLower", [](FreeCellOnScreen& s, DockSizes&) { s.frame.clientTop += 19; }},
    {"OnAnotherMonitor",
     [](FreeCellOnScreen& s, DockSizes&) {
         s.frame.frame = {-900, 150, -260, 630};
         s.workArea = {-1280, 0, 0, 1024};
     }},
    {"WorkAreaChanged", [](FreeCellOnScreen& s, DockSizes&) { s.workArea.top = 40; }},
    // Our own invisible borders became known once shown.
    {"OurSizesChanged", [](FreeCellOnScreen&, DockSizes& d) { d.barHeight -= 7; }},
};

class FollowerChangeTest : public FollowerTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(FollowerChangeTest, PlacedAgainOnceWhenWhatTheyDockToChangedAndNeverWhileNothingDid) {
    follower.PlaceNow(kFreeCell);
    EXPECT_THAT(Taken(), ElementsAre(Placed(screen.now)));
    for (int i = 0; i < 3; ++i) Heartbeat();
    Event();
    EXPECT_THAT(Taken(), IsEmpty()) << "an idle run only looks";
    EXPECT_EQ(screen.looks, 5);

    GetParam().change(screen.now, windows.sizes);
    Event();
    EXPECT_THAT(Taken(), ElementsAre(Placed(screen.now)));
    Heartbeat();
    EXPECT_THAT(Taken(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, FollowerChangeTest, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.name); });

struct MinimizeCase {
    const char* name;
    bool scoreShown, barShown;  // when FreeCell is minimized
    std::vector<std::wstring> hidden, shown;
};

void PrintTo(const MinimizeCase& c, std::ostream* os) {
    *os << c.name;
}

const MinimizeCase kMinimizeCases[] = {
    {"BothShown", true, true, {L"Hide score", L"Hide bar"}, {L"Show score", L"Show bar"}},
    // The player closed the bar with its close box: it stays closed.
    {"BarClosedByThePlayer", true, false, {L"Hide score"}, {L"Show score"}},
    // Our taskbar entry hid them before it minimized FreeCell; it shows them again itself.
    {"HiddenByTheTaskbarEntry", false, false, {}, {}},
};

class FollowerMinimizeTest : public FollowerTest,
                             public ::testing::WithParamInterface<MinimizeCase> {};

TEST_P(FollowerMinimizeTest, HiddenWhileFreeCellIsMinimizedThenPlacedAndShownAgain) {
    const MinimizeCase& c = GetParam();
    follower.PlaceNow(kFreeCell);
    Taken();
    windows.scoreShown = c.scoreShown;
    windows.barShown = c.barShown;

    screen.now.minimized = true;  // the frame stays the one it is restored to
    Heartbeat();
    EXPECT_THAT(Taken(), ElementsAreArray(c.hidden));
    Heartbeat();
    Event();
    EXPECT_THAT(Taken(), IsEmpty()) << "hidden once";

    // Restored somewhere else: placed there before they come up.
    screen.now = Seen({100, 100, 740, 580});
    Event();
    std::vector<std::wstring> want = {Placed(screen.now)};
    want.insert(want.end(), c.shown.begin(), c.shown.end());
    EXPECT_THAT(Taken(), ElementsAreArray(want));
    Heartbeat();
    EXPECT_THAT(Taken(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, FollowerMinimizeTest, ::testing::ValuesIn(kMinimizeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FollowerTest,
       AFreeCellMinimizedAtTheStartIsRestoredAndTheWindowsPlacedFromItsRestoredFrame) {
    screen.now = Seen(kFrame, true);
    EXPECT_TRUE(follower.RestoreBeforeAsking(kFreeCell));
    // Shown while FreeCell's queue still holds the restore: placed, not hidden.
    follower.PlaceNow(kFreeCell);
    Event();
    EXPECT_THAT(Taken(), ElementsAre(Placed(Seen(kFrame))));
    screen.now = Seen(kFrame);  // restored
    Event();
    EXPECT_THAT(Taken(), ElementsAre(Placed(Seen(kFrame)))) << "seen in its new state";
    // From now on a minimize hides them at once.
    screen.now.minimized = true;
    Event();
    EXPECT_THAT(Taken(), ElementsAre(L"Hide score", L"Hide bar"));
}

TEST_F(FollowerTest, AFreeCellThatStaysMinimizedAfterTheRestoreHidesThemAtTheNextHeartbeat) {
    screen.now = Seen(kFrame, true);
    ASSERT_TRUE(follower.RestoreBeforeAsking(kFreeCell));
    follower.PlaceNow(kFreeCell);
    Taken();
    Heartbeat();
    EXPECT_THAT(Taken(), ElementsAre(L"Hide score", L"Hide bar"));
}

TEST_F(FollowerTest, ARestoredFreeCellNeedsNoRestore) {
    EXPECT_FALSE(follower.RestoreBeforeAsking(kFreeCell));
    screen.now.present = false;
    EXPECT_FALSE(follower.RestoreBeforeAsking(kFreeCell));
}

TEST_F(FollowerTest, OverFreeCellTheyAreKeptInFrontAtEveryLookBesideItNever) {
    screen.now = Seen(kWork);  // maximized
    follower.PlaceNow(kFreeCell);
    EXPECT_THAT(Taken(), ElementsAre(Placed(screen.now), L"Front score", L"Front bar"));
    windows.barShown = false;  // closed by the player
    Heartbeat();
    EXPECT_THAT(Taken(), ElementsAre(L"Front score")) << "not placed again, only in front";
    screen.now = Seen(kFrame);
    Heartbeat();
    Heartbeat();
    EXPECT_THAT(Taken(), ElementsAre(Placed(screen.now)));
}

TEST_F(FollowerTest, WithoutFreeCellTheyGoToTheWorkAreasCornersAndAGoneFreeCellIsLeftAlone) {
    screen.now = {false, false, {}, {0, 40, 1280, 1024}};
    follower.PlaceNow(kFreeCell);
    EXPECT_THAT(Taken(), ElementsAre(L"Place score 1113,46 161x480 bar 6,46 351x64"));
    screen.now = Seen(kFrame);
    follower.PlaceNow(kFreeCell);
    Taken();
    screen.now.present = false;  // FreeCell closed: the watcher ends the run
    Heartbeat();
    EXPECT_THAT(Taken(), IsEmpty());
}

// --- the run ---------------------------------------------------------------------

using freecell::OpenSelectGame;

class RunFollowsTest : public ::testing::Test {
protected:
    RunFollowsTest() {
        AddFreeCell(ws);
        screen.now = Seen(kFrame);
        timers.fire = [this](RunTimer t) { run.OnTimer(t); };
        timers.afterEach = [this] { saves.Deliver(); };
        saves.written = [this] { run.OnRecordWritten(); };
        run.onTick = [this](TickCause) { ++ticks; };
        run.FollowWith(follower);
        run.FormCreate(processes, 200);
    }
    std::wstring Placed(const FreeCellOnScreen& s) { return PlaceLine(s, docked.sizes); }
    // What the run did, without the watcher's look-ups.
    std::vector<std::wstring> Actions() {
        std::vector<std::wstring> out;
        for (auto& c : log)
            if (!c.starts_with(L"FindTitle") && !c.starts_with(L"FindClass")) out.push_back(c);
        log.clear();
        return out;
    }

    FakeWindowSystem ws;
    std::vector<std::wstring>& log = ws.calls;
    FakeTimers timers{log};
    FakeEvents events{log};
    FakeBoxes boxes{log};
    FakeView view{log};
    MemoryProfileFiles profile{log};
    FakeProcessSystem processes{Script{.lookups = {kFreeCell, kFreeCell}}};
    FakeFreeCellScreen screen;
    FakeDockedWindows docked{log};
    FreeCellFollower follower{screen, docked};
    TFCGameRecord Record;
    WindowHandle FCHnd = kNoWindow;
    FakeRecordSaves saves{profile};
    PlayRun run{
        Record, FCHnd, L"D:\\g\\Dealwarden.exe", {ws, profile, timers, events, boxes, view, saves}};
    int ticks = 0;
};

TEST_F(RunFollowsTest, TheStartRestoresAMinimizedFreeCellBeforeItsF3AndDocksToItsRestoredFrame) {
    screen.now = Seen(kFrame, true);
    Actions();
    run.Button1Click();
    EXPECT_THAT(
        Actions(),
        ElementsAre(L"Subscribe 100", L"SubscribeMoves 100", Posted(kFreeCell, freecell::kRestore),
                    L"Foreground 100", Posted(kFreeCell, OpenSelectGame()[0]),
                    Posted(kFreeCell, OpenSelectGame()[1]), L"BringToTop 200", L"Refresh",
                    L"Start Timer1 1000", L"ShowPlayWindows", Placed(Seen(kFrame))));
}

TEST_F(RunFollowsTest, TheStartLeavesAFreeCellThatIsNotMinimizedAsItIs) {
    Actions();
    run.Button1Click();
    const auto actions = Actions();
    EXPECT_THAT(actions,
                ::testing::Not(::testing::Contains(Posted(kFreeCell, freecell::kRestore))));
    EXPECT_EQ(actions.back(), Placed(screen.now));
}

TEST_F(RunFollowsTest, MovesFollowAtOnceWithoutATickAndTheHeartbeatCatchesWhatNoEventTold) {
    run.Button1Click();
    timers.Advance(PlayRun::kTimer1Period);  // the first deal's tick
    Actions();
    const int ticksBefore = ticks;

    // Windows: a move event. It places at once and asks for no tick.
    screen.now = Seen({300, 200, 940, 680});
    for (int i = 0; i < 20; ++i) events.FireMove();
    EXPECT_THAT(Actions(), ElementsAre(Placed(screen.now)));
    EXPECT_FALSE(timers.Running(RunTimer::EarlyTick));
    timers.Advance(0);
    EXPECT_EQ(ticks, ticksBefore);

    // Wine: no event; the heartbeat's look finds it.
    screen.now = Seen({10, 10, 650, 490});
    timers.Advance(PlayRun::kTimer1Period);
    EXPECT_THAT(Actions(), ElementsAre(Placed(screen.now)));
    timers.Advance(3 * PlayRun::kTimer1Period);
    EXPECT_THAT(Actions(), IsEmpty()) << "an idle run places nothing";
}

// The no-more-moves dialog may stay up for long; FreeCell may be moved meanwhile.
TEST_F(RunFollowsTest, WhileTheWatcherWaitsForFreeCellTheWindowsStillFollow) {
    run.Button1Click();
    timers.Advance(PlayRun::kTimer1Period);
    ws.Script(kLoseTitle, {kLose, kLose, kLose});
    const FreeCellOnScreen moved = Seen({300, 200, 940, 680});
    int pause = 0;
    ws.duringPause = [&](unsigned) {
        if (++pause != 2) return;
        screen.now = moved;
        events.FireMove();
    };
    Actions();
    timers.Advance(PlayRun::kTimer1Period);
    ws.duringPause = nullptr;
    const auto actions = Actions();
    const auto at = [&](const std::wstring& a) {
        return std::find(actions.begin(), actions.end(), a) - actions.begin();
    };
    ASSERT_LT(at(Placed(moved)), std::ssize(actions)) << "followed during the wait";
    EXPECT_LT(at(L"Hold"), at(Placed(moved)));
    EXPECT_LT(at(Placed(moved)), at(L"Release"));
}

}  // namespace
}  // namespace dw
