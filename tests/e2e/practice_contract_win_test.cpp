// The practice FreeCell driven directly, message by message, through what
// Dealwarden relies on the real game to do.
#include <gtest/gtest.h>

#include "e2e/practice_fixture_win.h"

namespace dw::harness {
namespace {

using namespace freecell;

const std::wstring kButton(kButtonClass);

using PracticeContract = PracticeTest;

TEST_F(PracticeContract, MainWindowIsFoundByClassWithTheGamesTitle) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(FindTopLevel(ByClass(std::wstring(kWindowClass))), main_);
    EXPECT_EQ(Text(main_), L"フリーセル");
    EXPECT_FALSE(IsMinimized(main_));
    EXPECT_TRUE(Log().WaitForLine(L"window"));
}

TEST_F(PracticeContract, F3OpensTheModalSelectDialogWithOkAsFirstAndDefaultButton) {
    ASSERT_TRUE(Start());
    HWND select = OpenSelect();
    ASSERT_NE(select, nullptr) << "no select-game dialog";
    EXPECT_EQ(OwnerProcess(select), game_->Proc().Id());
    EXPECT_NE(FindChild(select, std::wstring(kEditClass)), nullptr);
    HWND ok = FindChild(select, kButton, 0);
    EXPECT_EQ(Text(ok), L"OK");
    EXPECT_EQ(Style(ok) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(Text(FindChild(select, kButton, 1)), L"キャンセル");
    EXPECT_FALSE(IsEnabled(main_)) << "the dialog must be modal";
    EXPECT_TRUE(Log().WaitForLine(L"f3"));
    EXPECT_TRUE(Log().WaitForLine(L"shown select"));
}

// What Dealwarden types must arrive as typed: the field's own number is
// replaced, and out-of-range numbers reach the log unchanged.
TEST_F(PracticeContract, PastedNumberConfirmedByPostedEnterIsDealtAndLoggedExactly) {
    ASSERT_TRUE(Start());
    for (const std::wstring text : {L"1", L"617", L"1000000", L"0", L"-1", L"11982"}) {
        SCOPED_TRACE(WideToUtf8(text));
        HWND select = OpenSelect();
        ASSERT_NE(select, nullptr);
        EnterDeal(select, text);
        ASSERT_TRUE(Log().WaitForLine(L"deal " + text));
        EXPECT_TRUE(WaitForGone(select));
        EXPECT_TRUE(IsEnabled(main_));
        EXPECT_NE(Text(FindChild(main_, L"Static")).find(L"ゲーム #" + text + L" "),
                  std::wstring::npos);
    }
    EXPECT_EQ(Log().Count(L"closed select ok"), 6u);
}

TEST_F(PracticeContract, CancelledSelectDealsNothing) {
    ASSERT_TRUE(Start());
    Deal(L"25");
    HWND select = OpenSelect();
    ASSERT_NE(select, nullptr);
    ASSERT_TRUE(Click(FindChildByText(select, kButton, L"キャンセル")));
    ASSERT_TRUE(Log().WaitForLine(L"closed select cancel"));
    EXPECT_EQ(Log().Count(L"deal 25"), 1u);
    EXPECT_NE(Text(FindChild(main_, L"Static")).find(L"ゲーム #25 "), std::wstring::npos);
}

TEST_F(PracticeContract, WinDialogHasDefaultButtonAndClosesOnPostedEnter) {
    ASSERT_TRUE(Start());
    Deal(L"3");
    ASSERT_TRUE(game_->PostWin());
    HWND win = game_->WaitForDialog(kWinTitle);
    ASSERT_NE(win, nullptr);
    HWND button = FindChild(win, kButton);
    EXPECT_EQ(Style(button) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    ASSERT_TRUE(Post(button, kEnter));
    EXPECT_TRUE(WaitForGone(win));
    EXPECT_TRUE(Log().WaitForLine(L"closed win ok"));
}

// A slow game keeps its win dialog through a few Enters; the dialog must
// stay until the last one, and extra Enters after it closes do no harm.
TEST_F(PracticeContract, WinDialogAskedForSeveralEntersClosesOnTheLast) {
    PracticeOptions o;
    o.winEnters = 3;
    ASSERT_TRUE(Start(o));
    ASSERT_TRUE(game_->PostWin());
    HWND win = game_->WaitForDialog(kWinTitle);
    ASSERT_NE(win, nullptr);
    HWND button = FindChild(win, kButton);
    for (int i = 1; i <= 2; ++i) {
        ASSERT_TRUE(Post(button, kEnter));
        ASSERT_TRUE(Log().WaitForLine(L"pressed win " + std::to_wstring(i)));
        EXPECT_TRUE(IsWindow(win));
    }
    ASSERT_TRUE(Post(button, kEnter));
    EXPECT_TRUE(WaitForGone(win));
    Post(button, kEnter);
    Post(button, kEnter);
    ASSERT_TRUE(Log().WaitForLine(L"closed win ok"));
    Deal(L"4");  // still answers normally
}

struct StuckCase {
    const wchar_t* button;
    const wchar_t* logged;
    const wchar_t* afterwards;  // start of the status line
};

class PracticeStuck : public PracticeTest, public ::testing::WithParamInterface<StuckCase> {};

TEST_P(PracticeStuck, NoMoreMovesDialogOffersRestartOrEnd) {
    ASSERT_TRUE(Start());
    Deal(L"42");
    ASSERT_TRUE(game_->PostStuck());
    HWND stuck = game_->WaitForDialog(kStuckTitle);
    ASSERT_NE(stuck, nullptr);
    ASSERT_TRUE(Click(FindChildByText(stuck, kButton, GetParam().button)));
    EXPECT_TRUE(WaitForGone(stuck));
    EXPECT_TRUE(Log().WaitForLine(GetParam().logged));
    EXPECT_TRUE(WaitUntil([&] {
        return Text(FindChild(main_, L"Static")).starts_with(GetParam().afterwards);
    })) << WideToUtf8(Text(FindChild(main_, L"Static")));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PracticeStuck,
    ::testing::Values(StuckCase{L"同じゲームをやり直す(&R)", L"restart 42", L"ゲーム #42 "},
                      StuckCase{L"ゲームを終了する(&E)", L"closed stuck end", L"ゲームなし"}));

TEST_F(PracticeContract, PostedUndoSequenceChoosesUndoFromTheGameMenu) {
    ASSERT_TRUE(Start());
    Deal(L"9");
    ASSERT_TRUE(PostAll(main_, Undo()));
    ASSERT_TRUE(Log().WaitForLine(L"undo 1"));
    ASSERT_TRUE(PostAll(main_, Undo()));
    ASSERT_TRUE(Log().WaitForLine(L"undo 2"));
    EXPECT_TRUE(WaitUntil(
        [&] { return Text(FindChild(main_, L"Static")).ends_with(L"元に戻した回数: 2"); }));
    // The menu loop is over: F3 still opens the dialog.
    EXPECT_NE(OpenSelect(), nullptr);
}

TEST_F(PracticeContract, PostedMinimizeAndRestoreActOnTheWindow) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Post(main_, kMinimize));
    EXPECT_TRUE(WaitUntil([&] { return IsMinimized(main_); }));
    EXPECT_TRUE(Log().WaitForLine(L"minimize"));
    ASSERT_TRUE(Post(main_, kRestore));
    EXPECT_TRUE(WaitUntil([&] { return !IsMinimized(main_) && IsVisible(main_); }));
    EXPECT_TRUE(Log().WaitForLine(L"restore"));
}

TEST_F(PracticeContract, PostedCloseEndsTheProgram) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Post(main_, kClose));
    ASSERT_TRUE(game_->Proc().WaitForExit());
    EXPECT_EQ(game_->Proc().ExitCode(), 0u);
    EXPECT_TRUE(Log().Contains(L"close"));
    EXPECT_TRUE(Log().Contains(L"exit 0"));
    EXPECT_EQ(FindTopLevel(ByClass(std::wstring(kWindowClass))), nullptr);
}

// The control channel is read by whichever modal loop runs; a request that
// the real game could not meet (a win while choosing a deal) is refused, not
// stacked on top of the open dialog.
TEST_F(PracticeContract, RequestsWhileADialogIsOpenAreRefused) {
    ASSERT_TRUE(Start());
    HWND select = OpenSelect();
    ASSERT_NE(select, nullptr);
    ASSERT_TRUE(game_->PostWin());
    ASSERT_TRUE(Log().WaitForLine(L"ignored win"));
    PostAll(main_, OpenSelectGame());
    ASSERT_TRUE(Log().WaitForLine(L"ignored select"));
    EXPECT_EQ(FindTopLevel(ByTitle(kWinTitle)), nullptr);
    EXPECT_EQ(FindTopLevels(ByTitle(kSelectTitle)).size(), 1u);
    EnterDeal(select, L"77");
    ASSERT_TRUE(Log().WaitForLine(L"deal 77"));
    ASSERT_TRUE(game_->PostWin());
    EXPECT_NE(game_->WaitForDialog(kWinTitle), nullptr);
}

}  // namespace
}  // namespace dw::harness
