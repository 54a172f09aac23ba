// The run's decisions against recording fakes: every way of closing with the
// settings file writable, blocked or too slow and each answer, the saves
// through the writer and what they tell, the start
// and retry buttons, when the watcher ticks, and commands that come while
// the watcher waits for FreeCell. One log holds what every fake was asked,
// in order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "freecell/contract.h"
#include "record/app_error.h"
#include "record/settings.h"
#include "run/play_run.h"
#include "tests/fakes/fake_process_system.h"
#include "tests/fakes/fake_run_seams.h"
#include "tests/fakes/fake_window_system.h"
#include "tests/fakes/scripted_freecell.h"

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace dw {
namespace {

using namespace freecell;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;
using namespace dw::testing;  // the scripted FreeCell

constexpr WindowHandle kStart = 200, kBar = 300;
// The select-game dialog of the next deal.
constexpr WindowHandle kSel2 = 40, kSel2Edit = 41, kSel2Button = 42;
const std::wstring kExe = L"D:\\g\\Dealwarden.exe";
const std::wstring kIni = L"D:\\g\\Dealwarden.Ini";

const std::wstring kCannotWrite = ErrorBoxText(kIni + L" に書き込めません");
const std::wstring kAskEndUnsaved =
    L"Ask " + kCannotWrite + L"\r\n\r\n記録を保存せずに終了しますか？";
const std::wstring kToldEndsOnceSaved =
    L"Error " + kCannotWrite + L"\r\n記録は Dealwarden が保持しています。保存できしだい終了します";
const std::wstring kToldBookingKept =
    L"Error " + kCannotWrite +
    L"\r\n記録は Dealwarden が保持しています。次の記録時と終了時に保存を再試行します";
const std::wstring kToldUnfinished =
    L"Error " + ErrorBoxText(kIni + L" への保存が終わりません") +
    L"\r\nファイルには最後に保存できた記録が残っています。Dealwarden を終了します";

// FreeCell told to close, as every close begins.
const std::vector<std::wstring> kToldToClose = {L"Foreground 100", Posted(kFreeCell, kClose)};
// The run's end once the close procedure has run.
const std::vector<std::wstring> kEnd = {L"Unsubscribe", L"EndProgram"};

std::vector<std::wstring> Concat(std::initializer_list<std::vector<std::wstring>> parts) {
    std::vector<std::wstring> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

class PlayRunTest : public ::testing::Test {
protected:
    PlayRunTest() {
        AddFreeCell(ws);
        ws.children[{kSel2, L"Edit"}] = kSel2Edit;
        ws.children[{kSel2, L"Button"}] = kSel2Button;
        timers.fire = [this](RunTimer t) { run.OnTimer(t); };
        // One clock for the run and the watcher's waits, as on Windows.
        ws.clock = [this] { return timers.NowMs(); };
        ws.moveClock = [this](unsigned ms) { timers.Skip(ms); };
        timers.afterEach = [this] { saves.Deliver(); };
        saves.written = [this] { run.OnRecordWritten(); };
        run.onTick = [this](TickCause c) {
            log.push_back(c == TickCause::Heartbeat ? L"tick heartbeat" : L"tick event");
        };
    }

    void Create() { run.FormCreate(processes, kStart); }
    // Created, started, and the first deal entered by the first heartbeat.
    void StartPlaying() {
        Create();
        run.Button1Click();
        ws.Script(kSelTitle, {kSel});
        Heartbeat();
        ASSERT_THAT(log, Contains(Posted(kSelButton, kEnter)));
        log.clear();
    }
    void Heartbeat() { timers.Advance(PlayRun::kTimer1Period); }
    // The moment after a booking, when it is saved.
    void Settle() { timers.Advance(SavePolicy::kDelayMs); }
    // FreeCell shows a window: its events, and the tick they bring.
    void FreeCellShows() {
        events.Fire();
        timers.Advance(0);
    }
    // A tick with this select-game dialog up: the deal asked for is typed.
    void NextDealTyped(WindowHandle dialog = kSel2) {
        ws.Script(kSelTitle, {dialog});
        Heartbeat();
    }
    // A tick with the win dialog up, then the next deal typed.
    void WinAndNextDeal(WindowHandle dialog = kSel2) {
        ws.Script(kWinTitle, {kWon});
        Heartbeat();
        NextDealTyped(dialog);
    }
    // What the run did since the last call, without the watcher's look-ups
    // (and without the marks of the ticks unless asked for).
    std::vector<std::wstring> Actions(bool withTicks = false) {
        std::vector<std::wstring> out;
        for (auto& c : log)
            if (!c.starts_with(L"FindTitle") && !c.starts_with(L"FindClass") &&
                (withTicks || !c.starts_with(L"tick ")))
                out.push_back(c);
        log.clear();
        return out;
    }
    std::wstring Stored(const wchar_t* section, const wchar_t* key) {
        return profile.Value(kIni, section, key);
    }
    std::size_t Ticks() {
        return static_cast<std::size_t>(std::count_if(
            log.begin(), log.end(), [](const auto& c) { return c.starts_with(L"tick "); }));
    }

    testing::FakeWindowSystem ws;
    std::vector<std::wstring>& log = ws.calls;
    testing::FakeTimers timers{log};
    testing::FakeEvents events{log};
    testing::FakeBoxes boxes{log};
    testing::FakeView view{log};
    testing::MemoryProfileFiles profile{log};
    testing::FakeRecordSaves saves{profile};
    testing::FakeProcessSystem processes{testing::Script{.lookups = {kFreeCell, kFreeCell}}};
    TFCGameRecord Record;
    WindowHandle FCHnd = kNoWindow;
    PlayRun run{Record, FCHnd, kExe, {ws, profile, timers, events, boxes, view, saves}};
};

// --- closing -----------------------------------------------------------------

enum class Asker { QuitButton, MenuCommand, Watcher };
// Slow: the write goes on past the close's bound.
enum class File { Writable, Blocked, Slow };

struct CloseCase {
    const char* name;
    Asker who;
    File file;
    std::optional<bool> endUnsaved;   // the player's answer, when asked
    std::vector<std::wstring> calls;  // what the close does
    bool ended;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}

// The player's quit saves first and tells FreeCell to close only when the
// program ends; the watcher's (FreeCell gone) tells it first, as always.
const CloseCase kCloseCases[] = {
    {"QuitWritable",
     Asker::QuitButton,
     File::Writable,
     {},
     Concat({{L"Saved"}, kToldToClose, kEnd}),
     true},
    {"MenuWritable",
     Asker::MenuCommand,
     File::Writable,
     {},
     Concat({{L"Saved"}, kToldToClose, kEnd}),
     true},
    {"WatcherWritable",
     Asker::Watcher,
     File::Writable,
     {},
     Concat({kToldToClose, {L"Saved"}, kEnd}),
     true},
    {"QuitBlockedYes", Asker::QuitButton, File::Blocked, true,
     Concat({{kAskEndUnsaved}, kToldToClose, kEnd}), true},
    {"QuitBlockedNo", Asker::QuitButton, File::Blocked, false, {kAskEndUnsaved}, false},
    {"MenuBlockedYes", Asker::MenuCommand, File::Blocked, true,
     Concat({{kAskEndUnsaved}, kToldToClose, kEnd}), true},
    {"MenuBlockedNo", Asker::MenuCommand, File::Blocked, false, {kAskEndUnsaved}, false},
    {"WatcherBlocked",
     Asker::Watcher,
     File::Blocked,
     {},
     Concat({kToldToClose, {kToldEndsOnceSaved}}),
     false},
    {"QuitSlow",
     Asker::QuitButton,
     File::Slow,
     {},
     Concat({{kToldUnfinished}, kToldToClose, kEnd}),
     true},
    {"WatcherSlow",
     Asker::Watcher,
     File::Slow,
     {},
     Concat({kToldToClose, {kToldUnfinished}, kEnd}),
     true},
};

class CloseTest : public PlayRunTest, public ::testing::WithParamInterface<CloseCase> {
protected:
    void Ask(Asker who) {
        switch (who) {
            case Asker::QuitButton:
                run.SpeedButton4Click();
                break;
            case Asker::MenuCommand:
                run.No1Click(L"500");
                break;
            case Asker::Watcher:
                ws.classes.clear();  // the player closed FreeCell
                Heartbeat();
                break;
        }
    }
};

// Every close waits for the writer, within the close's bound, and ends once
// the record is saved, the player chose to end unsaved, or the write did
// not finish in time (told; the file keeps the last record saved). A file
// that cannot be written is told once. After No, FreeCell and the run go on
// and the next booking's save tries again; a program kept running by the
// watcher's close ends by itself, saved, once the file can be written.
// After the end nothing runs.
TEST_P(CloseTest, ClosesOnceTheRecordIsSavedOrThePlayerChoseToEndUnsaved) {
    const CloseCase& c = GetParam();
    StartPlaying();
    WinAndNextDeal();  // a win booked and saved: the file holds GameNo 2
    ASSERT_EQ(Stored(L"Game", L"GameNo"), L"2");
    log.clear();

    profile.blocked = c.file == File::Blocked;
    saves.holding = c.file == File::Slow;
    saves.finishesInTheWait = c.file != File::Slow;
    if (c.endUnsaved) boxes.answers.push_back(*c.endUnsaved);
    Ask(c.who);
    EXPECT_THAT(Actions(), ElementsAreArray(c.calls));
    EXPECT_EQ(view.ended, c.ended);
    EXPECT_THAT(saves.waits, ElementsAre(PlayRun::kCloseWaitMs));
    const bool menuSaved = c.who == Asker::MenuCommand && c.file == File::Writable;
    EXPECT_EQ(Stored(L"Game", L"GameNo"), menuSaved ? L"500" : L"2");

    if (!c.ended && c.who == Asker::Watcher) {
        // FreeCell went: the watcher asks again every second, silently, and
        // ends the program as soon as the file can be written.
        Heartbeat();
        Heartbeat();
        EXPECT_THAT(Actions(), ElementsAreArray(Concat({kToldToClose, kToldToClose})));
        profile.blocked = false;
        Heartbeat();
        EXPECT_THAT(Actions(), ElementsAreArray(Concat({kToldToClose, {L"Saved"}, kEnd})));
        EXPECT_TRUE(view.ended);
        EXPECT_EQ(Stored(L"Game", L"GameNo"), L"2");
    } else if (!c.ended) {
        // No: FreeCell was never told to close; the watcher finds it and
        // has nothing to close. A booking is kept and not told again, and
        // the first save once the file can be written takes it.
        Heartbeat();
        EXPECT_THAT(Actions(), IsEmpty());
        run.SpeedButton2Click(kBar);
        Settle();
        EXPECT_THAT(Actions(), Not(Contains(kToldBookingKept)));
        profile.blocked = false;
        Heartbeat();
        Settle();
        EXPECT_EQ(Stored(L"Game", L"TryCnt"), L"2");
        EXPECT_FALSE(view.ended);
        log.clear();
        run.SpeedButton4Click();
        EXPECT_THAT(Actions(), ElementsAreArray(Concat({{L"Saved"}, kToldToClose, kEnd})));
        EXPECT_EQ(Stored(L"Game", L"GameNo"), c.who == Asker::MenuCommand ? L"500" : L"2");
    }

    // Nothing after the end: no tick, no event, no command, no news of a write.
    EXPECT_FALSE(timers.Running(RunTimer::Timer1));
    events.Fire();
    saves.Deliver();
    timers.Advance(5000);
    run.SpeedButton2Click(kBar);
    run.SpeedButton4Click();
    EXPECT_THAT(log, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(AllWays, CloseTest, ::testing::ValuesIn(kCloseCases),
                         [](const auto& info) { return std::string(info.param.name); });

// While the player is asked whether to end unsaved, the watcher goes on
// beneath the box: once the file can be written its close ends the program.
TEST_F(PlayRunTest, TheWatchersCloseBeneathTheQuestionEndsTheProgramOnceTheFileIsWritable) {
    StartPlaying();
    profile.blocked = true;
    bool pressedAgain = false;
    boxes.whileOpen = [&] {
        run.SpeedButton4Click();  // a second quit while the question is open: dropped
        pressedAgain = true;
        ws.classes.clear();
        Heartbeat();
        profile.blocked = false;
        Heartbeat();
    };
    run.SpeedButton4Click();
    EXPECT_TRUE(pressedAgain);
    EXPECT_THAT(Actions(true), ElementsAreArray(Concat({{kAskEndUnsaved},
                                                        {L"tick heartbeat"},
                                                        kToldToClose,
                                                        {L"tick heartbeat"},
                                                        kToldToClose,
                                                        {L"Saved"},
                                                        kEnd})));
}

// While a close waits for the writer the windows answer, but nothing of the
// run's runs: heartbeats, FreeCell's events, the moment of an earlier
// booking's save, the buttons, the menu command and a second quit come to
// nothing. The close then saves what was booked before it, once.
TEST_F(PlayRunTest, WhileACloseWaitsForTheWriterNothingElseRuns) {
    StartPlaying();
    run.SpeedButton2Click(kBar);  // booked: its save is due in a moment
    log.clear();
    saves.holding = true;
    saves.whileWaiting = [&] {
        ws.Script(kSelTitle, {kSel2});
        events.Fire();
        timers.Advance(3 * PlayRun::kTimer1Period);
        run.SpeedButton2Click(kBar);
        run.SpeedButton3Click(kBar);
        run.No1Click(L"9");
        run.SpeedButton4Click();
        run.RequestClose(CloseAsk::ByPlayer);
    };
    run.SpeedButton4Click();
    EXPECT_THAT(Actions(true), ElementsAreArray(Concat({{L"Saved"}, kToldToClose, kEnd})));
    EXPECT_EQ(saves.handed, 1);
    EXPECT_EQ(Record.TryCnt, 2);
    EXPECT_EQ(Record.GameNo, 1);
    EXPECT_EQ(Stored(L"Game", L"TryCnt"), L"2");
}

// The session's end waits for the writer within its own, shorter bound; a
// write that does not finish by then is not told (no box would be seen).
TEST_F(PlayRunTest, TheSessionsEndWritesTheRecordAndACalledOffEndWritesNothing) {
    StartPlaying();
    run.SpeedButton2Click(kBar);
    NextDealTyped();
    const int written = profile.saves;
    profile.files.clear();
    run.EndSession(false);
    EXPECT_EQ(profile.saves, written);
    EXPECT_THAT(saves.waits, IsEmpty());
    run.EndSession(true);
    EXPECT_EQ(profile.saves, written + 1);
    EXPECT_EQ(Stored(L"Game", L"TryCnt"), L"2");
    EXPECT_THAT(saves.waits, ElementsAre(PlayRun::kSessionEndWaitMs));

    log.clear();
    saves.holding = true;
    saves.finishesInTheWait = false;
    run.EndSession(true);
    EXPECT_THAT(Actions(), IsEmpty());
    EXPECT_FALSE(view.ended);
}

// --- saving --------------------------------------------------------------------

// Each booking is on disk a moment after it, together with any other made
// meanwhile; a tick that books nothing writes nothing.
TEST_F(PlayRunTest, EveryBookingIsSavedAMomentAfterIt) {
    StartPlaying();
    Heartbeat();
    Settle();
    EXPECT_EQ(profile.saves, 0) << "nothing booked";

    ws.Script(kLoseTitle, {kLose});
    FreeCellShows();
    timers.Advance(SavePolicy::kDelayMs - 1);
    EXPECT_EQ(profile.saves, 0) << "not at once";
    timers.Advance(1);
    EXPECT_EQ(profile.saves, 1);
    EXPECT_EQ(Stored(L"Game", L"TryCnt"), L"2");

    run.SpeedButton2Click(kBar);
    ws.Script(kSelTitle, {kSel2});
    FreeCellShows();
    ws.Script(kWinTitle, {kWon});
    FreeCellShows();
    Settle();
    EXPECT_EQ(profile.saves, 2) << "the retry and the win in one save";
    EXPECT_EQ(Stored(L"Game", L"GameNo"), L"2");
    EXPECT_EQ(Stored(L"Hist", L"hist0"), L"1 負け（3回）");
    EXPECT_EQ(Stored(L"Score", L"lost"), L"1");
}

// The win asks FreeCell for the next deal; its dialog comes and is filled
// before the save takes the machine for tens of milliseconds.
TEST_F(PlayRunTest, AWinIsSavedOnceTheNextDealIsTyped) {
    StartPlaying();
    ws.Script(kWinTitle, {kWon});
    FreeCellShows();
    ws.Script(kSelTitle, {kSel2});
    FreeCellShows();
    Settle();
    const auto typed = std::find(log.begin(), log.end(), Posted(kSel2Button, kEnter));
    const auto saved = std::find(log.begin(), log.end(), L"Saved");
    ASSERT_NE(typed, log.end());
    ASSERT_NE(saved, log.end());
    EXPECT_LT(typed, saved);
    EXPECT_EQ(Stored(L"Game", L"GameNo"), L"2");
}

// A save that fails is told once; later bookings are kept and not told
// again; the first booking once the file can be written saves them all, and
// a later failure is told anew.
TEST_F(PlayRunTest, AFailedSaveIsToldOnceAndTheNextWritableBookingSavesEverything) {
    StartPlaying();
    profile.blocked = true;
    ws.Script(kLoseTitle, {kLose});
    FreeCellShows();
    Settle();
    EXPECT_THAT(Actions(), Contains(kToldBookingKept));
    ws.Script(kLoseTitle, {kLose});
    FreeCellShows();
    Settle();
    run.SpeedButton2Click(kBar);
    Settle();
    EXPECT_THAT(Actions(), Not(Contains(kToldBookingKept)));
    EXPECT_EQ(profile.saves, 0);

    profile.blocked = false;
    ws.Script(kWinTitle, {kWon});
    FreeCellShows();
    Settle();
    EXPECT_EQ(profile.saves, 1);
    EXPECT_EQ(Stored(L"Hist", L"hist0"), L"1 負け（4回）");
    EXPECT_EQ(Stored(L"Score", L"lost"), L"1");
    EXPECT_EQ(Stored(L"Game", L"GameNo"), L"2");

    profile.blocked = true;
    ws.Script(kLoseTitle, {kLose});
    FreeCellShows();
    Settle();
    EXPECT_THAT(Actions(), Contains(kToldBookingKept));
}

// One failure is told once, whichever way it shows — a booking's save, the
// quit's question (asked all the same: it needs an answer), the watcher's
// close — until a save succeeds; the next failure is news again.
TEST_F(PlayRunTest, AFailedSaveIsToldOnceAcrossBookingsAndClosesUntilASaveSucceeds) {
    StartPlaying();
    profile.blocked = true;
    run.SpeedButton2Click(kBar);
    Settle();
    EXPECT_THAT(Actions(), Contains(kToldBookingKept));
    run.SpeedButton4Click();
    EXPECT_THAT(Actions(), ElementsAre(kAskEndUnsaved));
    run.SpeedButton2Click(kBar);
    Settle();
    Heartbeat();
    Settle();
    EXPECT_THAT(Actions(), Not(Contains(kToldBookingKept)));

    profile.blocked = false;
    Heartbeat();
    Settle();
    EXPECT_EQ(Stored(L"Game", L"TryCnt"), L"3");
    profile.blocked = true;
    run.SpeedButton2Click(kBar);
    Settle();
    EXPECT_THAT(Actions(), Contains(kToldBookingKept)) << "news after a success";
    run.SpeedButton4Click();
    EXPECT_THAT(Actions(), ElementsAre(kAskEndUnsaved));
    ws.classes.clear();  // the player closes FreeCell: the watcher's close tells nothing more
    Heartbeat();
    EXPECT_THAT(Actions(), ElementsAreArray(kToldToClose));
    EXPECT_FALSE(view.ended);
}

// The record counts as on disk only once the writer has written it. While
// a write is on its way the same record is not handed over again; a newer
// booking is, and the newest reaches the file. A write that failed is
// handed over again at the next tick; one that succeeded is not.
TEST_F(PlayRunTest, TheRecordIsOnDiskOnlyOnceTheWriterHasWrittenIt) {
    StartPlaying();
    saves.holding = true;
    run.SpeedButton2Click(kBar);
    Settle();
    ASSERT_EQ(saves.handed, 1);
    Heartbeat();
    Settle();
    EXPECT_EQ(saves.handed, 1) << "on its way: not handed again";
    run.SpeedButton2Click(kBar);
    Settle();
    EXPECT_EQ(saves.handed, 2) << "a newer booking";

    profile.blocked = true;
    saves.Release();
    Heartbeat();  // the failure's news
    EXPECT_THAT(Actions(), Contains(kToldBookingKept));
    Heartbeat();
    Settle();
    EXPECT_EQ(saves.handed, 3) << "a failed write is not on disk";
    profile.blocked = false;
    Heartbeat();
    Settle();
    EXPECT_EQ(saves.handed, 4);
    EXPECT_EQ(Stored(L"Game", L"TryCnt"), L"3");
    Heartbeat();
    Settle();
    Heartbeat();
    EXPECT_EQ(saves.handed, 4) << "written: on disk";
}

// A settings path that cannot be used is told at start with its reason, is
// not read, and is never written: not at a booking, not at the close (which
// then asks nothing), not at the session's end.
TEST_F(PlayRunTest, AnUnusableSettingsPathIsToldAtStartAndNeverWritten) {
    profile.unusable = L"理由";
    profile.files[kIni][L"Game"][L"GameNo"] = L"77";
    StartPlaying();
    EXPECT_EQ(profile.reads, 0);
    EXPECT_EQ(Record.won, 0);
    run.SpeedButton2Click(kBar);
    run.EndSession(true);
    run.SpeedButton4Click();
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(profile.saves, 0);
    EXPECT_EQ(Stored(L"Game", L"GameNo"), L"77") << "the stored record is left as it was";
    EXPECT_EQ(std::count(log.begin(), log.end(), L"Error " + UnusableSettingsText(kIni, L"理由")),
              0)
        << "not told again after the start";
}

TEST_F(PlayRunTest, AnUnusableSettingsPathIsToldWithThePathAndTheReason) {
    profile.unusable = L"理由";
    Create();
    EXPECT_THAT(Actions(), Contains(L"Error " + UnusableSettingsText(kIni, L"理由")));
    EXPECT_EQ(
        UnusableSettingsText(kIni, L"理由"),
        L"設定ファイル " + kIni + L" を使用できません（理由）。\r\nこの回の記録は保存されません");
}

// --- the start window ----------------------------------------------------------

TEST_F(PlayRunTest, StartAsksForTheFirstDealStartsTheHeartbeatAndListensToFreeCell) {
    Create();
    EXPECT_EQ(FCHnd, kFreeCell);
    EXPECT_THAT(Actions(), IsEmpty()) << "nothing before the button";
    run.Button1Click();
    // Listening to FreeCell before F3: the dialog it opens must be heard of.
    EXPECT_THAT(Actions(), ElementsAre(L"Subscribe 100", L"Foreground 100",
                                       Posted(kFreeCell, OpenSelectGame()[0]),
                                       Posted(kFreeCell, OpenSelectGame()[1]), L"BringToTop 200",
                                       L"Refresh", L"Start Timer1 1000", L"ShowPlayWindows"));
    run.Button1Click();
    EXPECT_THAT(Actions(), IsEmpty()) << "started once";
}

// FreeCell shows a win dialog from a game played before the program when
// the start button is pressed: that game is not the run's. Nothing is booked
// for it, FreeCell drops the start's F3 while it is up, and the first deal
// is asked for again soon after the player closes it (not a heartbeat later).
TEST_F(PlayRunTest, AnOldWinDialogAtTheStartIsNotBookedAndTheFirstDealFollowsOnceItIsGone) {
    Create();
    ws.Stays(kWinTitle, kWon);
    ws.disabled[kFreeCell] = true;
    run.Button1Click();
    timers.Advance(5 * PlayRun::kTimer1Period);
    EXPECT_EQ(Record.won, 0);
    EXPECT_THAT(Actions(), Not(Contains(::testing::StartsWith(L"Insert"))));

    ws.Script(kWinTitle, {});
    ws.disabled[kFreeCell] = false;
    timers.Advance(DialogWatcher::kBlockedPollMs);
    EXPECT_THAT(Actions(), Contains(Posted(kFreeCell, OpenSelectGame()[0])));
    ws.Script(kSelTitle, {kSel});
    FreeCellShows();
    EXPECT_THAT(Actions(), ::testing::IsSupersetOf(DealTyped(kSel, kSelEdit, kSelButton, L"1")));
    Settle();
    EXPECT_EQ(profile.saves, 0) << "nothing was booked";
    EXPECT_EQ(Record.GameNo, 1);
}

TEST_F(PlayRunTest, FreeCellNotFoundSavesHidesTheStartWindowAndTheButtonThenEnds) {
    processes.script = testing::Script{.answer = kIDOK};
    ws.classes.clear();
    Create();
    EXPECT_EQ(FCHnd, kNoWindow);
    EXPECT_THAT(Actions(), ElementsAre(L"Foreground 0", Posted(kNoWindow, kClose), L"Saved",
                                       L"HideStartWindow", L"Caption Dealwarden を終了"));
    run.Button1Click();
    Heartbeat();  // no FreeCell window: the close
    EXPECT_TRUE(view.ended);
}

// Which window a second copy of the program brings to the front.
TEST_F(PlayRunTest, ASecondCopyBringsTheStartWindowBeforeTheStartAndTheScoreWindowAfter) {
    EXPECT_EQ(run.WindowForAnotherCopy(), FrontWindow::None) << "still being created";
    Create();
    EXPECT_EQ(run.WindowForAnotherCopy(), FrontWindow::StartWindow);
    run.Button1Click();
    EXPECT_EQ(run.WindowForAnotherCopy(), FrontWindow::ScoreWindow);
    run.SpeedButton4Click();
    EXPECT_EQ(run.WindowForAnotherCopy(), FrontWindow::None) << "closed";
}

// --- the control bar -----------------------------------------------------------

TEST_F(PlayRunTest, RetryAsksForTheSameDealBooksAFailedTryAndTheNextDialogIsFilledAgain) {
    StartPlaying();
    run.SpeedButton2Click(kBar);
    EXPECT_THAT(Actions(), ElementsAre(L"Foreground 100", Posted(kFreeCell, OpenSelectGame()[0]),
                                       Posted(kFreeCell, OpenSelectGame()[1]), L"BringToTop 300",
                                       L"ShowTryCount 2", L"Refresh"));
    EXPECT_EQ(Record.lost, 1);
    // FreeCell may give the new dialog the old one's handle: it is filled all the same.
    NextDealTyped(kSel);
    EXPECT_THAT(Actions(), ::testing::IsSupersetOf(
                               std::vector<std::wstring>{Posted(kSelButton, kEnter), L"Saved"}));
    EXPECT_EQ(Record.TryCnt, 2);
}

TEST_F(PlayRunTest, UndoSendsTheMenuKeysAndBooksNothing) {
    StartPlaying();
    const TFCGameRecord before = Record;
    run.SpeedButton3Click(kBar);
    std::vector<std::wstring> expected = {L"Foreground 100", L"Sleep 50"};
    for (const auto& m : Undo()) expected.push_back(Posted(kFreeCell, m));
    expected.push_back(L"BringToTop 300");
    EXPECT_THAT(Actions(), ElementsAreArray(expected));
    EXPECT_EQ(Record, before);
}

TEST_F(PlayRunTest, TheMenuCommandRejectsTextThatIsNoInteger) {
    StartPlaying();
    try {
        run.No1Click(L"1.5");
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.Message(), L"''1.5'' は整数ではありません");
    }
    EXPECT_FALSE(view.ended);
    EXPECT_EQ(Record.GameNo, 1);
}

// --- while the watcher waits -----------------------------------------------------

// The watcher waits for the no-more-moves dialog to go; what comes in
// meanwhile — the player's commands, a heartbeat, FreeCell's events, the
// moment to save an earlier booking — runs no handler: the commands are
// dropped, not queued; the events are worth one tick once the wait is over,
// and the save comes after it.
TEST_F(PlayRunTest, CommandsDuringAWaitAreDroppedAndEventsGiveOneTickAfterIt) {
    StartPlaying();
    run.SpeedButton2Click(kBar);  // booked: its save is due in a moment
    ws.Script(kLoseTitle, {kLose, kLose, kLose});
    int pause = 0;
    ws.duringPause = [&](unsigned) {
        if (++pause != 2) return;
        run.SpeedButton2Click(kBar);
        run.SpeedButton3Click(kBar);
        run.No1Click(L"9");
        events.Fire();
        events.Fire();
        Heartbeat();  // the save's moment passes too
    };
    log.clear();
    FreeCellShows();
    ws.duringPause = nullptr;
    EXPECT_THAT(Actions(true), ElementsAre(L"tick event", L"Refresh", L"Hold", L"Pause 180",
                                           L"Pause 180", L"Pause 180", L"Release"));
    EXPECT_EQ(Record.TryCnt, 3) << "the retry before and the failed try, no more";
    EXPECT_EQ(Record.GameNo, 1);
    EXPECT_FALSE(view.ended);

    // The save came due during the wait, which took the clock with it.
    timers.Advance(0);
    EXPECT_THAT(Actions(true), ::testing::UnorderedElementsAre(L"tick event", L"Saved"))
        << "one tick for the events and the save, after the wait";
    EXPECT_EQ(Stored(L"Game", L"TryCnt"), L"3");
    timers.Advance(PlayRun::kTimer1Period);
    EXPECT_THAT(Actions(true), Not(Contains(L"tick event"))) << "no more than one";
}

// A close is not a command that can wait: the taskbar entry's close and
// Alt+F4 are not greyed like the bar. One that comes while the watcher waits
// for FreeCell cuts the wait short and is carried out right after it — the
// record saved with the try booked before it, FreeCell told to close — and
// with the file blocked, the question comes then; No keeps the run and
// FreeCell.
class CloseDuringAWaitTest : public PlayRunTest, public ::testing::WithParamInterface<bool> {};

TEST_P(CloseDuringAWaitTest, IsCarriedOutAsSoonAsTheWaitIsCutShort) {
    const bool writable = GetParam();
    StartPlaying();
    profile.blocked = !writable;
    ws.Stays(kLoseTitle, kLose);
    ws.duringPause = [&](unsigned) {
        if (ws.pauses == 2) run.RequestClose(CloseAsk::ByPlayer);
    };
    ws.pauses = 0;
    FreeCellShows();
    ws.duringPause = nullptr;
    EXPECT_EQ(ws.pauses, 2) << "the wait ends at its next look";
    const auto done = Actions();
    const auto release = std::find(done.begin(), done.end(), L"Release");
    const auto closing = std::find(done.begin(), done.end(), writable ? L"Saved" : kAskEndUnsaved);
    ASSERT_NE(closing, done.end()) << "no close";
    EXPECT_LT(release, closing) << "after the wait";
    if (writable) {
        EXPECT_TRUE(view.ended);
        EXPECT_THAT(done, Contains(kToldToClose[1]));
        EXPECT_EQ(Stored(L"Game", L"TryCnt"), L"2");
    } else {
        EXPECT_FALSE(view.ended) << "No: the run goes on";
        EXPECT_THAT(done, Not(Contains(kToldToClose[1]))) << "and FreeCell with it";
    }
}

INSTANTIATE_TEST_SUITE_P(File, CloseDuringAWaitTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Writable" : "Blocked"; });

// --- when the watcher ticks --------------------------------------------------------

// FreeCell's window events bring a tick at the run's next look — no timer
// waited for, so none of Windows' 15.6 ms clock either — one tick for all the
// events heard before it. The dialog is heard of before its controls exist:
// that tick leaves it, and the controls' events bring the one that fills it.
TEST_F(PlayRunTest, EventsBringOneTickAtTheNextLookForAllHeardBeforeIt) {
    StartPlaying();
    timers.tickMs = testing::kWindowsTickMs;
    timers.Advance(300);  // somewhere between two heartbeats
    const auto edit = ws.children.extract({kSel2, L"Edit"});
    const auto button = ws.children.extract({kSel2, L"Button"});
    ws.Stays(kSelTitle, kSel2);
    events.Fire();  // the dialog is created
    const std::uint64_t heard = timers.NowMs();
    timers.Advance(0);
    EXPECT_THAT(Actions(true), ElementsAre(L"tick event")) << "at once, and it leaves the dialog";
    ws.children.insert({edit.key(), edit.mapped()});
    ws.children.insert({button.key(), button.mapped()});
    for (int i = 0; i < 4; ++i) events.Fire();  // its controls
    timers.Advance(0);
    EXPECT_THAT(Actions(true),
                ElementsAreArray(Concat({{L"tick event"},
                                         DealTyped(kSel2, kSel2Edit, kSel2Button, L"1"),
                                         {L"ShowTryCount 1"}})));
    EXPECT_LE(timers.NowMs() - heard, DialogWatcher::kFieldPollMs) << "no timer waited for";
    ws.Script(kSelTitle, {kSel2});
    timers.Advance(PlayRun::kTimer1Period);
    const auto later = Actions(true);
    EXPECT_EQ(std::count(later.begin(), later.end(), L"tick event"), 0);
    EXPECT_THAT(later, Contains(L"tick heartbeat"));
    EXPECT_THAT(later, Not(Contains(Posted(kSel2Edit, kPaste))))
        << "the heartbeat that sees the dialog still closing does not paste again";
}

TEST_F(PlayRunTest, TheHeartbeatTicksWithoutEventsAndAloneWhenTheyCannotBeHad) {
    events.available = false;
    StartPlaying();
    timers.Advance(3 * PlayRun::kTimer1Period);
    EXPECT_EQ(Ticks(), 3u);
    EXPECT_FALSE(events.Subscribed());
}

TEST_F(PlayRunTest, AWinLeftToThePlayerIsLookedForOftenAndTheNextDealFollowsWhenItGoes) {
    StartPlaying();
    ws.Stays(kWinTitle, kWon);
    Heartbeat();
    EXPECT_EQ(Record.won, 1);
    log.clear();
    timers.Advance(3 * DialogWatcher::kLeftWinPollMs);
    EXPECT_GE(Ticks(), 3u);
    EXPECT_THAT(Actions(), Not(Contains(Posted(kFreeCell, OpenSelectGame()[0]))));
    ws.Script(kWinTitle, {});  // the player closed it
    timers.Advance(DialogWatcher::kLeftWinPollMs);
    EXPECT_THAT(Actions(), Contains(Posted(kFreeCell, OpenSelectGame()[0])));
    EXPECT_EQ(Record.won, 1);
    timers.Advance(DialogWatcher::kLeftWinPollMs * 5);
    EXPECT_EQ(Ticks(), 0u) << "no more polling once it is gone";
}

}  // namespace
}  // namespace dw
