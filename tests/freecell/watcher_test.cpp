#include "freecell/watcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_window_system.h"
#include "record/app_error.h"

namespace dw {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

constexpr WindowHandle kFreeCell = 100, kOwn = 200;
constexpr WindowHandle kSel = 10, kSelEdit = 11, kSelButton = 12;
constexpr WindowHandle kLose = 20;
constexpr WindowHandle kWin = 30, kWinButton = 31, kWin2 = 32, kWin2Button = 33;

// Requests land in the same log as the window calls, so their order relative
// to what was posted is asserted too.
class RecordingRequests : public IWatcherRequests {
public:
    explicit RecordingRequests(std::vector<std::wstring>& log) : log_(log) {}
    void ShowTryCount(std::int32_t n) override {
        log_.push_back(L"ShowTryCount " + std::to_wstring(n));
    }
    void SetGameBoxToOne() override { log_.push_back(L"SetGameBoxToOne"); }
    void InsertHistoryLine(const std::wstring& line) override { log_.push_back(L"Insert " + line); }
    void Refresh() override { log_.push_back(L"Refresh"); }
    void CloseProgram() override { log_.push_back(L"Close"); }
    void NextDealAsked() override { log_.push_back(L"NextDealAsked"); }

private:
    std::vector<std::wstring>& log_;
};

class WatcherTest : public ::testing::Test {
protected:
    WatcherTest() {
        ws.classes[L"FreeCell"] = kFreeCell;
        ws.children[{kSel, L"Edit"}] = kSelEdit;
        ws.children[{kSel, L"Button"}] = kSelButton;
        ws.children[{kWin, L"Button"}] = kWinButton;
        ws.children[{kWin2, L"Button"}] = kWin2Button;
        record.GameNo = record.WGameNo = 57;
    }
    void Present(const wchar_t* title, std::vector<WindowHandle> handles) {
        ws.Script(title, std::move(handles));
    }
    void Tick() { watcher.Timer1Timer(kFreeCell, kOwn); }

    testing::FakeWindowSystem ws;
    RecordingRequests ui{ws.calls};
    TFCGameRecord record;
    DialogWatcher watcher{ws, record, ui};
};

const std::wstring kProbeSel = L"FindTitle ゲームの選択 -> ";
const std::wstring kProbeLose = L"FindTitle これ以上、移動できません -> ";
const std::wstring kProbeWin = L"FindTitle 勝ち -> ";
const std::wstring kFreeCellThere = L"FindClass FreeCell -> 100";

TEST_F(WatcherTest, NothingShownOnlyChecksFreeCell) {
    Tick();
    EXPECT_THAT(ws.calls,
                ElementsAre(kProbeSel + L"0", kProbeLose + L"0", kProbeWin + L"0", kFreeCellThere));
}

TEST_F(WatcherTest, SelectGamePastesTheNumberAndPressesEnter) {
    Present(L"ゲームの選択", {kSel});
    Tick();
    EXPECT_THAT(ws.calls, ElementsAre(kProbeSel + L"10", kProbeLose + L"0", kProbeWin + L"0",
                                      L"ShowTryCount 1", L"Foreground 10", L"SetClipboard 57",
                                      L"GetClipboard", L"Post 11 0x302 0 0", L"Post 12 0x100 0xd 0",
                                      kFreeCellThere));
}

TEST_F(WatcherTest, SelectGameAfterTheLastDealEntersOneAndResetsTheBox) {
    record.GameNo = record.WGameNo = TFCGameRecord::MaxGNo + 1;
    record.TryCnt = 3;
    Present(L"ゲームの選択", {kSel});
    Tick();
    EXPECT_THAT(ws.calls, ElementsAre(kProbeSel + L"10", kProbeLose + L"0", kProbeWin + L"0",
                                      L"SetGameBoxToOne", L"ShowTryCount 1", L"Foreground 10",
                                      L"SetClipboard 1", L"GetClipboard", L"Post 11 0x302 0 0",
                                      L"Post 12 0x100 0xd 0", kFreeCellThere));
    EXPECT_EQ(record.GameNo, 1);
    EXPECT_EQ(record.TryCnt, 1);
}

TEST_F(WatcherTest, SelectGameWithoutChildrenPostsToNoWindow) {
    ws.children.clear();
    Present(L"ゲームの選択", {kSel});
    Tick();
    EXPECT_THAT(ws.calls, ::testing::Contains(L"Post 0 0x302 0 0"));
    EXPECT_THAT(ws.calls, ::testing::Contains(L"Post 0 0x100 0xd 0"));
}

TEST_F(WatcherTest, NoMoreMovesBooksTheTryThenWaitsUntilTheDialogIsGone) {
    record.TryCnt = 2;  // second try: only the counter moves
    Present(L"これ以上、移動できません", {kLose, kLose, kLose});
    Tick();
    EXPECT_THAT(ws.calls,
                ElementsAre(kProbeSel + L"0", kProbeLose + L"20", kProbeWin + L"0", L"Refresh",
                            L"Sleep 180", kProbeLose + L"20", L"Sleep 180", kProbeLose + L"20",
                            L"Sleep 180", kProbeLose + L"0", kFreeCellThere));
    EXPECT_EQ(record.TryCnt, 3);
    EXPECT_EQ(record.lost, 0);
}

TEST_F(WatcherTest, NoMoreMovesAlwaysSleepsAtLeastOnce) {
    Present(L"これ以上、移動できません", {kLose});
    Tick();
    EXPECT_THAT(ws.calls, ElementsAre(kProbeSel + L"0", kProbeLose + L"20", kProbeWin + L"0",
                                      L"Refresh", L"Sleep 180", kProbeLose + L"0", kFreeCellThere));
    EXPECT_EQ(record.lost, 1);
    EXPECT_EQ(record.make, 1);
}

TEST_F(WatcherTest, WinIsBookedOnceDismissedUntilGoneThenNextDealAsked) {
    // FreeCell replaces the dialog once before it goes: Enter follows the new handle.
    Present(L"勝ち", {kWin, kWin2});
    Tick();
    EXPECT_THAT(ws.calls, ElementsAre(kProbeSel + L"0", kProbeLose + L"0", kProbeWin + L"30",
                                      L"Insert 57 勝ち", L"Refresh", L"Foreground 30",
                                      L"Post 31 0x100 0xd 0", kProbeWin + L"32", L"Foreground 32",
                                      L"Post 33 0x100 0xd 0", kProbeWin + L"0", L"Foreground 100",
                                      L"Post 100 0x100 0x72 0", L"Post 100 0x101 0x72 0",
                                      L"BringToTop 200", L"NextDealAsked", kFreeCellThere));
    EXPECT_EQ(record.won, 1);
    EXPECT_EQ(record.kachi, 1);
    EXPECT_EQ(record.hist[0], L"57 勝ち");
    EXPECT_EQ(record.GameNo, 58);
}

TEST_F(WatcherTest, OneTickActsOnAllThreeDialogsInOrderAndChecksFreeCellLast) {
    Present(L"ゲームの選択", {kSel});
    Present(L"これ以上、移動できません", {kLose});
    Present(L"勝ち", {kWin});
    Tick();
    std::vector<std::wstring> order;
    for (const auto& c : ws.calls)
        if (c == L"GetClipboard" || c == L"Sleep 180" || c.starts_with(L"Insert") ||
            c.starts_with(L"FindClass"))
            order.push_back(c);
    EXPECT_THAT(order, ElementsAre(L"GetClipboard", L"Sleep 180", L"Insert 57 負け（2回）",
                                   kFreeCellThere));
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
    Present(L"ゲームの選択", {kSel});
    Tick();
    EXPECT_EQ(reads, 3);
    EXPECT_THAT(ws.calls, ::testing::Contains(L"Post 11 0x302 0 0"));
}

TEST_F(WatcherTest, ClipboardThatNeverMatchesGivesUpAndEndsTheTick) {
    ws.clipboardReadBack = [] { return std::wstring(L"changed by someone else"); };
    Present(L"ゲームの選択", {kSel});
    Present(L"勝ち", {kWin});
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
    Present(L"ゲームの選択", {kSel});
    Present(L"勝ち", {});
    Tick();
    EXPECT_THAT(ws.calls, ::testing::Contains(L"SetClipboard 57"));
    EXPECT_THAT(ws.calls, ::testing::Contains(L"Post 12 0x100 0xd 0"));
}

TEST_F(WatcherTest, ClipboardThatCannotBeOpenedStopsTheRestOfTheTick) {
    ws.clipboardLocked = true;
    Present(L"ゲームの選択", {kSel});
    Present(L"これ以上、移動できません", {kLose});
    EXPECT_THROW(Tick(), AppError);
    EXPECT_EQ(record.lost, 0);
    EXPECT_EQ(ws.calls.back(), L"Foreground 10");
}

}  // namespace
}  // namespace dw
