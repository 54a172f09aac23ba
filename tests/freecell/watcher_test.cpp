#include "freecell/watcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "record/app_error.h"
#include "tests/fakes/fake_window_system.h"
#include "tests/fakes/recording_requests.h"
#include "tests/fakes/scripted_freecell.h"

namespace dw {
namespace {

using namespace freecell;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;
using namespace dw::testing;  // the scripted FreeCell

constexpr WindowHandle kOwn = 200;
// The win dialog FreeCell replaces the first one with.
constexpr WindowHandle kWon2 = 32, kWon2Button = 33;

std::wstring Probe(const std::wstring& title, WindowHandle h) {
    return L"FindTitle " + title + L" -> " + std::to_wstring(h);
}
const std::wstring kFreeCellThere = L"FindClass FreeCell -> 100";
const std::wstring kWinProbePause = L"Pause " + std::to_wstring(DialogWatcher::kWinProbeMs);
constexpr int kProbesAPress = DialogWatcher::kWinPressGapMs / DialogWatcher::kWinProbeMs;

// The win dialog looked for while FreeCell closes it: a pause, then a probe
// answered with each handle in turn.
std::vector<std::wstring> WinProbes(std::initializer_list<WindowHandle> answers) {
    std::vector<std::wstring> calls;
    for (WindowHandle h : answers) {
        calls.push_back(kWinProbePause);
        calls.push_back(Probe(kWinTitle, h));
    }
    return calls;
}
const std::wstring kLosePause = L"Pause " + std::to_wstring(DialogWatcher::kNoMoreMovesPollMs);

// The calls of asking FreeCell for the next deal, ending with our window on top.
std::vector<std::wstring> NextDealAsked() {
    return {L"Foreground 100", Posted(kFreeCell, OpenSelectGame()[0]),
            Posted(kFreeCell, OpenSelectGame()[1]), L"BringToTop 200"};
}

std::vector<std::wstring> Concat(std::initializer_list<std::vector<std::wstring>> parts) {
    std::vector<std::wstring> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::size_t CountOf(const std::vector<std::wstring>& calls, const std::wstring& call) {
    return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
}

class WatcherTest : public ::testing::Test {
protected:
    WatcherTest() {
        AddFreeCell(ws);
        ws.children[{kWon2, L"Button"}] = kWon2Button;
        record.GameNo = record.WGameNo = 57;
    }
    void Tick() { RecordOutcome(watcher.Timer1Timer(kFreeCell, kOwn), ws.calls); }
    // A tick whose calls alone are looked at.
    void FreshTick() {
        ws.calls.clear();
        Tick();
    }

    testing::FakeWindowSystem ws;
    testing::RecordingRequests ui{ws.calls};
    TFCGameRecord record;
    DialogWatcher watcher{ws, record, ui};
};

TEST_F(WatcherTest, NothingShownOnlyChecksFreeCell) {
    Tick();
    EXPECT_THAT(ws.calls, ElementsAre(Probe(kSelTitle, 0), Probe(kLoseTitle, 0),
                                      Probe(kWinTitle, 0), kFreeCellThere));
}

TEST_F(WatcherTest, SelectGamePastesTheNumberAndPressesEnter) {
    ws.Script(kSelTitle, {kSel});
    Tick();
    EXPECT_THAT(ws.calls, ElementsAre(Probe(kSelTitle, kSel), Probe(kLoseTitle, 0),
                                      Probe(kWinTitle, 0), L"ShowTryCount 1", L"Foreground 10",
                                      L"SetClipboard 57", L"GetClipboard", Posted(kSelEdit, kPaste),
                                      Posted(kSelButton, kEnter), kFreeCellThere));
}

TEST_F(WatcherTest, SelectGameAfterTheLastDealEntersOneAndResetsTheBox) {
    record.GameNo = record.WGameNo = TFCGameRecord::MaxGNo + 1;
    record.TryCnt = 3;
    ws.Script(kSelTitle, {kSel});
    Tick();
    EXPECT_THAT(ws.calls,
                ElementsAre(Probe(kSelTitle, kSel), Probe(kLoseTitle, 0), Probe(kWinTitle, 0),
                            L"SetGameBoxToOne", L"ShowTryCount 1", L"Foreground 10",
                            L"SetClipboard 1", L"GetClipboard", Posted(kSelEdit, kPaste),
                            Posted(kSelButton, kEnter), kFreeCellThere));
    EXPECT_EQ(record.GameNo, 1);
    EXPECT_EQ(record.TryCnt, 1);
}

// A tick can come a few milliseconds after FreeCell created the dialog,
// before its controls exist: such a dialog is left to a later tick, which
// fills it once both are there — a paste without its Enter would otherwise
// leave the number in the field for the next paste to add to.
TEST_F(WatcherTest, SelectGameIsFilledOnlyOnceItsEditAndButtonExist) {
    for (const wchar_t* missing : {L"Edit", L"Button"}) {
        SCOPED_TRACE(testing::Describe(kPaste) + L" without " + missing);
        TFCGameRecord fresh;
        fresh.GameNo = fresh.WGameNo = TFCGameRecord::MaxGNo + 1;  // a taken number would wrap
        record = fresh;
        const WindowHandle child = ws.children.at({kSel, missing});
        ws.children.erase({kSel, missing});
        ws.Script(kSelTitle, {kSel});
        FreshTick();
        EXPECT_THAT(ws.calls, ElementsAre(Probe(kSelTitle, kSel), Probe(kLoseTitle, 0),
                                          Probe(kWinTitle, 0), kFreeCellThere));
        EXPECT_EQ(record, fresh) << "nothing is taken from the record";

        ws.children[{kSel, missing}] = child;
        ws.Script(kSelTitle, {kSel});
        FreshTick();
        EXPECT_THAT(ws.calls, Contains(Posted(kSelEdit, kPaste)));
        EXPECT_THAT(ws.calls, Contains(Posted(kSelButton, kEnter)));
        watcher.NextDealAsked();
    }
}

// Ticks come early as well as every second: one that comes while a filled
// dialog is still closing must not paste into it again.
TEST_F(WatcherTest, ASelectGameDialogIsFilledOnceHoweverManyTicksSeeIt) {
    const auto pastes = [&] { return CountOf(ws.calls, Posted(kSelEdit, kPaste)); };
    ws.Script(kSelTitle, {kSel, kSel, kSel});
    Tick();
    Tick();
    Tick();
    EXPECT_EQ(pastes(), 1u);
    EXPECT_EQ(CountOf(ws.calls, L"SetClipboard 57"), 1u);

    // Once it has gone, a dialog with the same handle is a new one.
    ws.Script(kSelTitle, {kNoWindow, kSel});
    Tick();
    Tick();
    EXPECT_EQ(pastes(), 2u);
    // So is one after somebody else asked for the next deal (the retry button).
    ws.Script(kSelTitle, {kSel});
    watcher.NextDealAsked();
    Tick();
    EXPECT_EQ(pastes(), 3u);
}

TEST_F(WatcherTest, NoMoreMovesBooksTheTryThenWaitsWithoutHangingUntilTheDialogIsGone) {
    record.TryCnt = 2;  // second try: only the counter moves
    ws.Script(kLoseTitle, {kLose, kLose, kLose});
    Tick();
    EXPECT_THAT(ws.calls,
                ElementsAre(Probe(kSelTitle, 0), Probe(kLoseTitle, kLose), Probe(kWinTitle, 0),
                            L"Refresh", L"Hold", kLosePause, Probe(kLoseTitle, kLose), kLosePause,
                            Probe(kLoseTitle, kLose), kLosePause, Probe(kLoseTitle, 0), L"Release",
                            kFreeCellThere));
    EXPECT_EQ(record.TryCnt, 3);
    EXPECT_EQ(record.lost, 0);
}

TEST_F(WatcherTest, NoMoreMovesAlwaysPausesAtLeastOnce) {
    ws.Script(kLoseTitle, {kLose});
    Tick();
    EXPECT_THAT(ws.calls, ElementsAre(Probe(kSelTitle, 0), Probe(kLoseTitle, kLose),
                                      Probe(kWinTitle, 0), L"Refresh", L"Hold", kLosePause,
                                      Probe(kLoseTitle, 0), L"Release", kFreeCellThere));
    EXPECT_EQ(record.lost, 1);
    EXPECT_EQ(record.make, 1);
}

// The player answers and is stuck again before the wait has looked: the new
// dialog ends the wait for the old one and is the next tick's failed try.
TEST_F(WatcherTest, ANoMoreMovesDialogInTheOldOnesPlaceIsAnotherFailedTry) {
    constexpr WindowHandle kLose2 = 21;
    ws.Script(kLoseTitle, {kLose, kLose, kLose2});
    Tick();
    EXPECT_EQ(record.TryCnt, 2);
    EXPECT_EQ(CountOf(ws.calls, kLosePause), 2u);
    ws.Script(kLoseTitle, {kLose2});
    Tick();
    EXPECT_EQ(record.TryCnt, 3);
}

TEST_F(WatcherTest, AWaitStopsWhenTheProgramEnds) {
    ws.Stays(kLoseTitle, kLose);
    ws.pausesBeforeQuit = 3;
    Tick();
    EXPECT_EQ(ws.pauses, 3);
    EXPECT_EQ(ws.calls.back(), kFreeCellThere);
    EXPECT_THAT(ws.calls, Contains(L"Release"));
}

TEST_F(WatcherTest, WinIsBookedOnceDismissedUntilGoneThenNextDealAsked) {
    // Enter, and the dialog does not close within the gap; FreeCell puts
    // another in its place, which takes the next Enter and goes at once.
    ws.Script(kWinTitle, {kWon, kWon, kWon, kWon, kWon, kWon2, kNoWindow});
    Tick();
    EXPECT_THAT(ws.calls,
                ElementsAreArray(Concat({{Probe(kSelTitle, 0), Probe(kLoseTitle, 0),
                                          Probe(kWinTitle, kWon), L"Insert 57 勝ち", L"Refresh",
                                          L"Hold", L"Foreground 30", Posted(kWonButton, kEnter)},
                                         WinProbes({kWon, kWon, kWon, kWon, kWon2}),
                                         {L"Foreground 32", Posted(kWon2Button, kEnter)},
                                         WinProbes({kNoWindow}),
                                         {L"Release"},
                                         NextDealAsked(),
                                         {kFreeCellThere}})));
    EXPECT_EQ(kProbesAPress, 5) << "the script above assumes five probes a press";
    EXPECT_EQ(record.won, 1);
    EXPECT_EQ(record.kachi, 1);
    EXPECT_EQ(record.hist[0], L"57 勝ち");
    EXPECT_EQ(record.GameNo, 58);
    EXPECT_FALSE(watcher.WinLeftToPlayer());
}

// A win dialog that does not close on Enter is pressed at a pace it can
// follow, for a bounded time, then left to the player: no later tick books
// the win again or presses on, and the next deal is asked for once it goes.
TEST_F(WatcherTest, AWinDialogThatNeverClosesIsPressedForABoundedTimeThenLeftToThePlayer) {
    ws.Stays(kWinTitle, kWon);
    Tick();
    const std::size_t presses = CountOf(ws.calls, Posted(kWonButton, kEnter));
    EXPECT_EQ(presses, static_cast<std::size_t>(DialogWatcher::kWinPressLimit));
    EXPECT_EQ(CountOf(ws.calls, kWinProbePause), presses * kProbesAPress)
        << "the whole gap after every press";
    EXPECT_LE(presses * DialogWatcher::kWinPressGapMs, 5000u) << "bounded to a few seconds";
    EXPECT_THAT(ws.calls, Not(Contains(Posted(kFreeCell, OpenSelectGame()[0]))));
    EXPECT_EQ(ws.calls.back(), kFreeCellThere);
    EXPECT_TRUE(watcher.WinLeftToPlayer());

    FreshTick();  // still there
    EXPECT_THAT(ws.calls, ElementsAre(Probe(kSelTitle, 0), Probe(kLoseTitle, 0),
                                      Probe(kWinTitle, kWon), kFreeCellThere));

    ws.Script(kWinTitle, {});  // the player closed it
    FreshTick();
    EXPECT_THAT(
        ws.calls,
        ElementsAreArray(Concat({{Probe(kSelTitle, 0), Probe(kLoseTitle, 0), Probe(kWinTitle, 0)},
                                 NextDealAsked(),
                                 {kFreeCellThere}})));
    FreshTick();
    EXPECT_THAT(ws.calls, Not(Contains(Posted(kFreeCell, OpenSelectGame()[0])))) << "F3 once";
    EXPECT_EQ(record.won, 1);
    EXPECT_EQ(record.hist[1], L"") << "one history line";
}

TEST_F(WatcherTest, OneTickActsOnAllThreeDialogsInOrderAndChecksFreeCellLast) {
    ws.Script(kSelTitle, {kSel});
    ws.Script(kLoseTitle, {kLose});
    ws.Script(kWinTitle, {kWon});
    Tick();
    std::vector<std::wstring> order;
    for (const auto& c : ws.calls)
        if (c == L"GetClipboard" || c == kLosePause || c.starts_with(L"Insert") ||
            c.starts_with(L"FindClass"))
            order.push_back(c);
    EXPECT_THAT(order,
                ElementsAre(L"GetClipboard", kLosePause, L"Insert 57 負け（2回）", kFreeCellThere));
    EXPECT_EQ(ws.calls.back(), kFreeCellThere);
}

TEST_F(WatcherTest, FreeCellGoneClosesTheProgram) {
    ws.classes.clear();
    Tick();
    EXPECT_EQ(ws.calls.back(), L"Close");
}

TEST_F(WatcherTest, ClipboardThatSettlesOnALaterAttemptStillPastes) {
    int reads = 0;
    ws.clipboardReadBack = [&] {
        return ++reads < 3 ? std::wstring(L"other") : std::wstring(L"57");
    };
    ws.Script(kSelTitle, {kSel});
    Tick();
    EXPECT_EQ(reads, 3);
    EXPECT_THAT(ws.calls, Contains(Posted(kSelEdit, kPaste)));
}

TEST_F(WatcherTest, ClipboardThatNeverMatchesGivesUpAndEndsTheTick) {
    ws.clipboardReadBack = [] { return std::wstring(L"changed by someone else"); };
    ws.Script(kSelTitle, {kSel});
    ws.Script(kWinTitle, {kWon});
    try {
        Tick();
        FAIL() << "expected an error";
    } catch (const AppError& e) {
        EXPECT_THAT(e.Message(), HasSubstr(L"57"));
    }
    int sets = 0, sleeps = 0;
    for (const auto& c : ws.calls) {
        sets += c.starts_with(L"SetClipboard");
        sleeps += c.starts_with(L"Sleep");
        EXPECT_FALSE(c.starts_with(L"Post")) << "nothing may be pasted";
        EXPECT_FALSE(c.starts_with(L"FindClass")) << "the rest of the tick must not run";
    }
    EXPECT_EQ(sets, DialogWatcher::kClipboardAttempts);
    EXPECT_LT(sleeps * DialogWatcher::kClipboardRetryMs, 1000u);
    EXPECT_EQ(record.won, 0) << "the win waits for the next tick";
    // The next tick, with the clipboard free again, enters the same deal.
    ws.clipboardReadBack = nullptr;
    ws.calls.clear();
    ws.Script(kSelTitle, {kSel});
    ws.Script(kWinTitle, {});
    Tick();
    EXPECT_THAT(ws.calls, Contains(L"SetClipboard 57"));
    EXPECT_THAT(ws.calls, Contains(Posted(kSelButton, kEnter)));
}

TEST_F(WatcherTest, ClipboardThatCannotBeOpenedStopsTheRestOfTheTick) {
    ws.clipboardLocked = true;
    ws.Script(kSelTitle, {kSel});
    ws.Script(kLoseTitle, {kLose});
    EXPECT_THROW(Tick(), AppError);
    EXPECT_EQ(record.lost, 0);
    EXPECT_EQ(ws.calls.back(), L"Foreground 10");
}

}  // namespace
}  // namespace dw
