#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cstdint>
#include <string>
#include <vector>

#include "freecell/watcher.h"
#include "record/app_error.h"
#include "tests/fakes/coarse_clock.h"
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
        ws.fieldText[kSelEdit] = L"431";  // FreeCell offers a deal of its own
        record.GameNo = record.WGameNo = 57;
    }
    void Tick() { RecordOutcome(watcher.Timer1Timer(kFreeCell, kOwn), ws.calls); }
    // A tick whose calls alone are looked at.
    void FreshTick() {
        ws.calls.clear();
        Tick();
    }
    // The clock's times of every post of m to w from now on.
    std::vector<std::uint64_t>& TimesOf(WindowHandle w, const Message& m) {
        times_.clear();
        ws.onPost = [this, w, m](WindowHandle to, const Message& posted) {
            if (to == w && posted == m) times_.push_back(ws.now);
        };
        return times_;
    }

    testing::FakeWindowSystem ws;
    testing::RecordingRequests ui{ws.calls};
    TFCGameRecord record;
    DialogWatcher watcher{ws, record, ui};

private:
    std::vector<std::uint64_t> times_;
};

TEST_F(WatcherTest, NothingShownOnlyChecksFreeCell) {
    Tick();
    EXPECT_THAT(ws.calls, ElementsAre(Probe(kSelTitle, 0), Probe(kLoseTitle, 0),
                                      Probe(kWinTitle, 0), kFreeCellThere));
}

// The number goes through the clipboard into the field, which is read back
// before Enter: the field held FreeCell's own deal until the paste. The score
// window follows once the keys have gone out.
TEST_F(WatcherTest, SelectGamePastesTheNumberChecksTheFieldAndPressesEnter) {
    ws.Script(kSelTitle, {kSel});
    Tick();
    EXPECT_THAT(ws.calls, ElementsAreArray(Concat(
                              {{Probe(kSelTitle, kSel), Probe(kLoseTitle, 0), Probe(kWinTitle, 0)},
                               DealTyped(kSel, kSelEdit, kSelButton, L"57"),
                               {L"ShowTryCount 1", kFreeCellThere}})));
    EXPECT_EQ(ws.fieldText[kSelEdit], L"57");
}

TEST_F(WatcherTest, SelectGameAfterTheLastDealEntersOneAndResetsTheBox) {
    record.GameNo = record.WGameNo = TFCGameRecord::MaxGNo + 1;
    record.TryCnt = 3;
    ws.Script(kSelTitle, {kSel});
    Tick();
    EXPECT_THAT(ws.calls, ElementsAreArray(Concat(
                              {{Probe(kSelTitle, kSel), Probe(kLoseTitle, 0), Probe(kWinTitle, 0)},
                               DealTyped(kSel, kSelEdit, kSelButton, L"1"),
                               {L"SetGameBoxToOne", L"ShowTryCount 1", kFreeCellThere}})));
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
        watcher.AskForNextDeal(kFreeCell, kOwn);
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
    watcher.AskForNextDeal(kFreeCell, kOwn);
    Tick();
    EXPECT_EQ(pastes(), 3u);
}

// Another program that opens the clipboard after every change (Windows'
// clipboard history, a remote desktop) holds it when FreeCell pastes: the
// paste does nothing and the field keeps FreeCell's deal. The field is
// pasted into again until it holds the number, and Enter comes only then —
// on Windows' coarse clock as on a fine one.
struct HeldPasteCase {
    unsigned holdMs;  // how long after our put FreeCell's paste finds the clipboard busy
    unsigned tickMs;
};

class FieldCheckTest : public WatcherTest, public ::testing::WithParamInterface<HeldPasteCase> {};

TEST_P(FieldCheckTest, EnterIsPressedOnlyOnceTheFieldHoldsTheNumber) {
    const auto [holdMs, tickMs] = GetParam();
    ws.tickMs = tickMs;
    const std::uint64_t put = ws.now;
    ws.pasteFindsClipboard = [&] { return ws.now >= put + holdMs; };
    std::wstring fieldAtEnter;
    ws.onPost = [&](WindowHandle w, const Message& m) {
        if (w == kSelButton && m == kEnter) fieldAtEnter = ws.fieldText[kSelEdit];
    };
    ws.Script(kSelTitle, {kSel});
    Tick();
    EXPECT_EQ(fieldAtEnter, L"57") << "Enter only on the number booked";
    EXPECT_EQ(CountOf(ws.calls, Posted(kSelButton, kEnter)), 1u);
    EXPECT_EQ(CountOf(ws.calls, L"SetClipboard 57"), 1u) << "the clipboard is not touched again";
    const std::size_t pastes = CountOf(ws.calls, Posted(kSelEdit, kPaste));
    EXPECT_EQ(pastes, CountOf(ws.calls, Posted(kSelEdit, kSelectAll)))
        << "every paste replaces the whole field";
    EXPECT_LE(pastes, 1 + holdMs / DialogWatcher::kRepasteMs + 1);
    EXPECT_THAT(ws.calls, Not(Contains(::testing::StartsWith(L"SetText"))))
        << "the clipboard was free in time: no text set directly";
    EXPECT_LE(ws.now - put, holdMs + DialogWatcher::kRepasteMs + OnTicks(1, tickMs));
    EXPECT_EQ(ws.calls.back(), kFreeCellThere);
}

INSTANTIATE_TEST_SUITE_P(Listeners, FieldCheckTest,
                         ::testing::Values(HeldPasteCase{0, 0}, HeldPasteCase{5, 0},
                                           HeldPasteCase{40, 0}, HeldPasteCase{200, 0},
                                           HeldPasteCase{5, kWindowsTickMs},
                                           HeldPasteCase{40, kWindowsTickMs},
                                           HeldPasteCase{200, kWindowsTickMs}),
                         [](const auto& info) {
                             return "Hold" + std::to_string(info.param.holdMs) + "msTick" +
                                    std::to_string(info.param.tickMs);
                         });

// FreeCell's paste never gets the number (something keeps it out): after
// the bound the number is written into the field, and Enter follows; a field
// that takes nothing at all gets no Enter, and the tick ends with the error.
TEST_F(WatcherTest, AFieldThePasteNeverReachesIsSetDirectlyAndOneThatTakesNothingGetsNoEnter) {
    for (unsigned tick : {0u, kWindowsTickMs}) {
        SCOPED_TRACE(tick);
        ws.tickMs = tick;
        ws.pasteFindsClipboard = [] { return false; };
        ws.setTextWorks = true;
        ws.fieldText[kSelEdit] = L"431";
        ws.Script(kSelTitle, {kSel});
        watcher.AskForNextDeal(kFreeCell, kOwn);
        const std::uint64_t start = ws.now;
        FreshTick();
        EXPECT_THAT(ws.calls, Contains(L"SetText 11 57"));
        EXPECT_EQ(ws.calls.back(), kFreeCellThere);
        EXPECT_EQ(CountOf(ws.calls, Posted(kSelButton, kEnter)), 1u);
        EXPECT_LE(ws.now - start, DialogWatcher::kFieldBoundMs + DialogWatcher::kRepasteMs +
                                      OnTicks(DialogWatcher::kFieldPollMs, tick));

        ws.setTextWorks = false;
        ws.fieldText[kSelEdit] = L"431";
        ws.Script(kSelTitle, {kSel});
        watcher.AskForNextDeal(kFreeCell, kOwn);
        ws.calls.clear();
        try {
            Tick();
            ADD_FAILURE() << "no error";
        } catch (const AppError& e) {
            EXPECT_THAT(e.Message(), HasSubstr(L"57"));
        }
        EXPECT_THAT(ws.calls, Not(Contains(Posted(kSelButton, kEnter))));
        EXPECT_THAT(ws.calls, Not(Contains(::testing::StartsWith(L"FindClass"))))
            << "the rest of the tick does not run";
    }
}

// A field whose thread does not answer (FreeCell hung) never gets Enter either.
TEST_F(WatcherTest, AFieldThatDoesNotAnswerGetsNoEnter) {
    ws.fieldsAnswer = false;
    ws.Script(kSelTitle, {kSel});
    EXPECT_THROW(Tick(), AppError);
    EXPECT_THAT(ws.calls, Not(Contains(Posted(kSelButton, kEnter))));
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

// A close asked while the watcher waits (the taskbar entry's close) ends the
// wait at its next look, and the tick does nothing more: the win dialog seen
// with it is left alone.
TEST_F(WatcherTest, StopWaitingEndsTheWaitAndTheRestOfTheTick) {
    ws.Stays(kLoseTitle, kLose);
    ws.Script(kWinTitle, {kWon});
    ws.duringPause = [&](unsigned) {
        if (ws.pauses == 2) watcher.StopWaiting();
    };
    Tick();
    EXPECT_EQ(ws.pauses, 2);
    EXPECT_EQ(ws.calls.back(), L"Release");
    EXPECT_EQ(record.won, 0);
    EXPECT_EQ(record.TryCnt, 2) << "the failed try seen before is booked";
    // The next tick is a tick like any other.
    ws.duringPause = nullptr;
    ws.Script(kLoseTitle, {});
    FreshTick();
    EXPECT_EQ(ws.calls.back(), kFreeCellThere);
}

// Enter, the next deal's F3 and its number go out before the score window is
// brought up to date (once FreeCell has dealt), and a dialog that goes within
// moments does not grey the bar. The next deal's dialog is looked for in the
// same tick: it shows at the third look after F3.
TEST_F(WatcherTest, WinIsBookedOnceDismissedUntilGoneThenNextDealAsked) {
    // Enter, and the dialog does not close within the gap; FreeCell puts
    // another in its place, which takes the next Enter and goes at once.
    ws.Script(kWinTitle, {kWon, kWon, kWon, kWon, kWon, kWon2, kNoWindow});
    ws.Script(kSelTitle, {kNoWindow, kNoWindow, kNoWindow, kSel});
    const std::wstring look = L"Look " + std::to_wstring(DialogWatcher::kFieldPollMs);
    Tick();
    EXPECT_THAT(
        ws.calls,
        ElementsAreArray(Concat(
            {{Probe(kSelTitle, 0), Probe(kLoseTitle, 0), Probe(kWinTitle, kWon), L"Foreground 30",
              Posted(kWonButton, kEnter)},
             WinProbes({kWon, kWon, kWon, kWon, kWon2}),
             {L"Foreground 32", Posted(kWon2Button, kEnter)},
             WinProbes({kNoWindow}),
             NextDealAsked(),
             {look, Probe(kSelTitle, 0), look, Probe(kSelTitle, 0), look, Probe(kSelTitle, kSel)},
             DealTyped(kSel, kSelEdit, kSelButton, L"58"),
             {L"ShowTryCount 1", look, Probe(kSelTitle, 0), L"Insert 57 勝ち", L"Refresh",
              kFreeCellThere}})));
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
// The pace and the bound are time: on Windows' coarse clock each 2 ms look
// lasts 16 ms, and the wait still ends after about three seconds, not eight
// times that.
TEST_F(WatcherTest, AWinDialogThatNeverClosesIsPressedForABoundedTimeThenLeftToThePlayer) {
    for (unsigned tick : {0u, kWindowsTickMs}) {
        SCOPED_TRACE(tick);
        TFCGameRecord fresh;
        fresh.GameNo = fresh.WGameNo = 57;
        record = fresh;
        ws.tickMs = tick;
        ws.Stays(kWinTitle, kWon);
        const auto& presses = TimesOf(kWonButton, kEnter);
        const std::uint64_t start = ws.now;
        FreshTick();
        ASSERT_GE(presses.size(), 2u);
        for (std::size_t i = 1; i < presses.size(); ++i)
            EXPECT_GE(presses[i] - presses[i - 1], DialogWatcher::kWinPressGapMs)
                << "never more often than the dialog can follow";
        EXPECT_LT(presses.back() - start, DialogWatcher::kWinPressBoundMs);
        EXPECT_GE(ws.now - start, DialogWatcher::kWinPressBoundMs);
        EXPECT_LE(ws.now - start, DialogWatcher::kWinPressBoundMs + DialogWatcher::kWinPressGapMs +
                                      OnTicks(DialogWatcher::kWinProbeMs, tick))
            << "given up about the bound after the first press";
        EXPECT_THAT(ws.calls, Not(Contains(Posted(kFreeCell, OpenSelectGame()[0]))));
        EXPECT_EQ(ws.calls.back(), kFreeCellThere);
        EXPECT_TRUE(watcher.WinLeftToPlayer());

        FreshTick();  // still there
        EXPECT_THAT(ws.calls, ElementsAre(Probe(kSelTitle, 0), Probe(kLoseTitle, 0),
                                          Probe(kWinTitle, kWon), kFreeCellThere));

        ws.Script(kWinTitle, {});  // the player closed it
        FreshTick();
        EXPECT_THAT(ws.calls, ElementsAreArray(Concat(
                                  {{Probe(kSelTitle, 0), Probe(kLoseTitle, 0), Probe(kWinTitle, 0)},
                                   NextDealAsked(),
                                   {kFreeCellThere}})));
        FreshTick();
        EXPECT_THAT(ws.calls, Not(Contains(Posted(kFreeCell, OpenSelectGame()[0])))) << "F3 once";
        EXPECT_EQ(record.won, 1);
        EXPECT_EQ(record.hist[1], L"") << "one history line";
    }
}

// The next deal's dialog is looked for in the win's own tick, on the clock
// for a bounded time: one that does not come is left to the ticks.
TEST_F(WatcherTest, AfterAWinTheNextDialogIsLookedForAtOnceForABoundedTime) {
    for (unsigned tick : {0u, kWindowsTickMs}) {
        SCOPED_TRACE(tick);
        ws.tickMs = tick;
        ws.Script(kWinTitle, {kWon});
        const auto& asked = TimesOf(kFreeCell, OpenSelectGame()[0]);
        FreshTick();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_GE(ws.now - asked.back(), DialogWatcher::kNextDialogLookMs);
        EXPECT_LE(ws.now - asked.back(),
                  DialogWatcher::kNextDialogLookMs + OnTicks(DialogWatcher::kFieldPollMs, tick));
        EXPECT_EQ(ws.calls.back(), kFreeCellThere);
        ws.onPost = nullptr;
    }
}

TEST_F(WatcherTest, OneTickActsOnAllThreeDialogsInOrderAndChecksFreeCellLast) {
    ws.Script(kSelTitle, {kSel});
    ws.Script(kLoseTitle, {kLose});
    ws.Script(kWinTitle, {kWon});
    Tick();
    std::vector<std::wstring> order;
    for (const auto& c : ws.calls)
        if (c == Posted(kSelButton, kEnter) || c == kLosePause || c.starts_with(L"Insert") ||
            c.starts_with(L"FindClass"))
            order.push_back(c);
    EXPECT_THAT(order, ElementsAre(Posted(kSelButton, kEnter), kLosePause, L"Insert 57 負け（2回）",
                                   kFreeCellThere));
    EXPECT_EQ(ws.calls.back(), kFreeCellThere);
}

TEST_F(WatcherTest, FreeCellGoneClosesTheProgram) {
    ws.classes.clear();
    Tick();
    EXPECT_EQ(ws.calls.back(), L"Close");
}

// Our own put finds the clipboard held the same way: a hold of less than
// the bound is waited out quietly and the number put once it is free; a
// longer one ends the tick with the system's reason, nothing pasted, and the
// next tick enters the deal once the clipboard is free.
TEST_F(WatcherTest, AClipboardHeldByAnotherProgramIsWaitedOutUpToTheBound) {
    for (unsigned tick : {0u, kWindowsTickMs}) {
        for (unsigned holdMs : {5u, 40u, 200u, 900u}) {
            SCOPED_TRACE(std::to_wstring(tick) + L" ms ticks, held " + std::to_wstring(holdMs));
            ws.tickMs = tick;
            const std::uint64_t until = ws.now + holdMs;
            ws.clipboardBusy = [&, until] { return ws.now < until; };
            ws.Script(kSelTitle, {kSel});
            watcher.AskForNextDeal(kFreeCell, kOwn);
            FreshTick();
            EXPECT_EQ(CountOf(ws.calls, L"SetClipboard 57"), 1u);
            EXPECT_EQ(CountOf(ws.calls, Posted(kSelButton, kEnter)), 1u);
            EXPECT_LE(ws.now - (until - holdMs),
                      holdMs + OnTicks(DialogWatcher::kClipboardRetryMs, tick) +
                          OnTicks(DialogWatcher::kFieldPollMs, tick));
        }
        ws.clipboardBusy = [] { return true; };
        ws.Script(kSelTitle, {kSel});
        ws.Script(kLoseTitle, {kLose});
        watcher.AskForNextDeal(kFreeCell, kOwn);
        const std::uint64_t start = ws.now;
        const TFCGameRecord before = record;
        ws.calls.clear();
        try {
            Tick();
            ADD_FAILURE() << "no error";
        } catch (const AppError& e) {
            EXPECT_EQ(e.Message(), L"クリップボード アクセスが拒否されました を開けません");
        }
        EXPECT_GE(ws.now - start, DialogWatcher::kClipboardBoundMs);
        EXPECT_LE(ws.now - start, DialogWatcher::kClipboardBoundMs +
                                      OnTicks(DialogWatcher::kClipboardRetryMs, tick));
        EXPECT_THAT(ws.calls, Not(Contains(::testing::StartsWith(L"Post"))));
        EXPECT_EQ(record.lost, before.lost) << "the rest of the tick does not run";

        ws.clipboardBusy = nullptr;
        ws.Script(kSelTitle, {kSel});
        ws.Script(kLoseTitle, {});
        FreshTick();
        EXPECT_EQ(CountOf(ws.calls, Posted(kSelButton, kEnter)), 1u);
    }
}

TEST_F(WatcherTest, ClipboardThatSettlesOnALaterAttemptStillPastes) {
    int reads = 0;
    ws.clipboardReadBack = [&] {
        return ++reads < 3 ? std::wstring(L"other") : std::wstring(L"57");
    };
    ws.Script(kSelTitle, {kSel});
    Tick();
    EXPECT_EQ(reads, 3);
    EXPECT_THAT(ws.calls, Contains(Posted(kSelButton, kEnter)));
}

// Another program that keeps rewriting the clipboard must not freeze us:
// the put is tried for the bound, then the tick ends with the error.
TEST_F(WatcherTest, ClipboardThatNeverMatchesGivesUpAndEndsTheTick) {
    ws.tickMs = kWindowsTickMs;
    ws.clipboardReadBack = [] { return std::wstring(L"changed by someone else"); };
    ws.Script(kSelTitle, {kSel});
    ws.Script(kWinTitle, {kWon});
    const std::uint64_t start = ws.now;
    try {
        Tick();
        FAIL() << "expected an error";
    } catch (const AppError& e) {
        EXPECT_THAT(e.Message(), HasSubstr(L"57"));
    }
    for (const auto& c : ws.calls) {
        EXPECT_FALSE(c.starts_with(L"Post")) << "nothing may be pasted";
        EXPECT_FALSE(c.starts_with(L"FindClass")) << "the rest of the tick must not run";
    }
    EXPECT_LE(ws.now - start, DialogWatcher::kClipboardBoundMs +
                                  OnTicks(DialogWatcher::kClipboardRetryMs, kWindowsTickMs));
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

// --- asks that land ---------------------------------------------------------------

// F3 that reaches FreeCell in something of its own — its statistics dialog,
// its Game menu, a win or no-more-moves dialog left from before the run — is
// dropped there. Nothing is booked for such a dialog, and the select-game
// dialog is asked for again once it is gone; then the deal is entered.
struct BlockerCase {
    const char* name;
    bool fromBeforeTheRun;  // up when the run began (the start button)
    std::function<void(FakeWindowSystem&, bool up)> show;
};

const BlockerCase kBlockers[] = {
    {"Statistics", false, [](FakeWindowSystem& ws, bool up) { ws.disabled[kFreeCell] = up; }},
    {"GameMenu", false, [](FakeWindowSystem& ws, bool up) { ws.menuOpen = up; }},
    {"OldWinDialog", true,
     [](FakeWindowSystem& ws, bool up) {
         ws.disabled[kFreeCell] = up;
         if (up)
             ws.Stays(kWinTitle, kWon);
         else
             ws.Script(kWinTitle, {});
     }},
    {"OldNoMoreMovesDialog", true,
     [](FakeWindowSystem& ws, bool up) {
         ws.disabled[kFreeCell] = up;
         if (up)
             ws.Stays(kLoseTitle, kLose);
         else
             ws.Script(kLoseTitle, {});
     }},
};

class AskThatLandsTest : public WatcherTest, public ::testing::WithParamInterface<BlockerCase> {
protected:
    std::size_t F3s() const { return CountOf(ws.calls, Posted(kFreeCell, OpenSelectGame()[0])); }
    // A tick at the pace the watcher asks for while it waits.
    void Later() {
        ws.now += DialogWatcher::kBlockedPollMs;
        Tick();
    }
};

TEST_P(AskThatLandsTest, TheSelectGameDialogIsAskedForAgainOnceFreeCellIsFreeAndNothingIsBooked) {
    const BlockerCase& c = GetParam();
    c.show(ws, true);
    if (c.fromBeforeTheRun) watcher.StartRun();
    watcher.AskForNextDeal(kFreeCell, kOwn);  // dropped by FreeCell
    const TFCGameRecord before = record;
    for (int i = 0; i < 40; ++i) Later();  // ten seconds of it
    EXPECT_EQ(F3s(), 1u) << "not asked again while FreeCell is in it";
    EXPECT_EQ(record, before) << "nothing booked for it";
    EXPECT_THAT(ws.calls, Not(Contains(L"Hold"))) << "no wait for a dialog that is not the run's";
    EXPECT_EQ(watcher.LookAgainIn(), DialogWatcher::kBlockedPollMs);

    c.show(ws, false);  // the player closed it
    ws.calls.clear();
    Later();
    EXPECT_EQ(F3s(), 1u) << "asked again once it is gone";
    EXPECT_EQ(record, before);
    ws.Script(kSelTitle, {kSel});
    FreshTick();
    EXPECT_THAT(ws.calls, ::testing::IsSupersetOf(DealTyped(kSel, kSelEdit, kSelButton, L"57")));
    EXPECT_EQ(record.TryCnt, before.TryCnt) << "the same try of the same deal";
    EXPECT_EQ(watcher.LookAgainIn(), std::nullopt);
    ws.Script(kSelTitle, {});
    for (int i = 0; i < 8; ++i) Later();
    EXPECT_EQ(F3s(), 0u) << "the dialog came: no more asks";
}

INSTANTIATE_TEST_SUITE_P(Blockers, AskThatLandsTest, ::testing::ValuesIn(kBlockers),
                         [](const auto& info) { return std::string(info.param.name); });

// A dialog the player opens again before each ask has reached FreeCell:
// the asks are bounded. And an ask that found FreeCell free is not repeated:
// its dialog comes by itself.
TEST_F(WatcherTest, AsksAgainAreBoundedAndOnlyForAFreeCellThatWasBusy) {
    ws.disabled[kFreeCell] = true;
    watcher.AskForNextDeal(kFreeCell, kOwn);
    for (int i = 0; i < 3 * DialogWatcher::kReaskLimit; ++i) {
        ws.disabled[kFreeCell] = true;
        Tick();
        ws.disabled[kFreeCell] = false;
        ws.now += DialogWatcher::kReaskAfterMs;
        Tick();
    }
    EXPECT_EQ(CountOf(ws.calls, Posted(kFreeCell, OpenSelectGame()[0])),
              1u + DialogWatcher::kReaskLimit);
    EXPECT_EQ(watcher.LookAgainIn(), std::nullopt) << "no more looking once the asks are spent";

    ws.disabled[kFreeCell] = false;
    watcher.AskForNextDeal(kFreeCell, kOwn);
    ws.calls.clear();
    for (int i = 0; i < 5; ++i) {
        ws.now += DialogWatcher::kReaskAfterMs;
        Tick();
    }
    EXPECT_EQ(CountOf(ws.calls, Posted(kFreeCell, OpenSelectGame()[0])), 0u);
}

}  // namespace
}  // namespace dw
