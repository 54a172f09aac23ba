// The practice FreeCell's timed log and the win dialog's way out without
// Enter, which the benchmark relies on.
#include <gtest/gtest.h>

#include "e2e/practice_fixture_win.h"

namespace dw::harness {
namespace {

using namespace freecell;

const std::wstring kButton(kButtonClass);

using PracticeTimes = PracticeTest;

// Every line of the log, in order, with a time read off this machine's
// QueryPerformanceCounter while it happened: another process's readings of
// that clock bracket it.
TEST_F(PracticeTimes, EveryLogLineIsTimedOnTheClockOtherProcessesRead) {
    TempDir dir(L"times");
    PracticeOptions o;
    o.timesPath = dir.File(L"times.log");
    const double before = PerformanceCounterMs();
    ASSERT_TRUE(Start(o));
    Deal(L"5");
    ASSERT_TRUE(game_->PostWin());
    HWND win = game_->WaitForDialog(kWinTitle);
    ASSERT_NE(win, nullptr);
    ASSERT_TRUE(Post(FindChild(win, kButton), kEnter));
    ASSERT_TRUE(Log().WaitForLine(L"closed win ok"));
    const double after = PerformanceCounterMs();

    const auto lines = Log().Lines();
    const auto timed = ReadTimedEvents(o.timesPath);
    ASSERT_EQ(timed.size(), lines.size()) << WideToUtf8(Log().Dump());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(WideToUtf8(lines[i]));
        EXPECT_EQ(timed[i].event, lines[i]);
        EXPECT_GE(timed[i].ms, before);
        EXPECT_LE(timed[i].ms, after);
        if (i > 0) {
            EXPECT_GE(timed[i].ms, timed[i - 1].ms);
        }
    }
    // The lines a latency is measured between, in the order they happen.
    std::vector<std::wstring> wanted = {L"f3",  L"shown select", L"deal 5",
                                        L"won", L"shown win",    L"pressed win 1"};
    std::size_t next = 0;
    for (const auto& e : timed)
        if (next < wanted.size() && e.event == wanted[next]) ++next;
    EXPECT_EQ(next, wanted.size()) << WideToUtf8(Log().Dump());
}

// Started without arguments, as Dealwarden starts it: the args file's
// --times applies too.
TEST_F(PracticeTimes, TheArgsFileAsksForTheTimedLogToo) {
    TempDir dir(L"times-args");
    PracticeOptions o;
    o.timesPath = dir.File(L"times.log");
    InstalledFreeCell installed =
        InstalledFreeCell::AtDirectory(dir.Path(), PracticeFreeCellExe(), o.ArgumentLine());
    Process p = Process::Start(installed.ExePath());
    ASSERT_NE(WaitForTopLevel(ByClass(std::wstring(kWindowClass), p.Id())), nullptr);
    const std::wstring start = L"start " + std::to_wstring(p.Id());
    EXPECT_TRUE(WaitUntil([&] {
        const auto timed = ReadTimedEvents(o.timesPath);
        return !timed.empty() && timed.front().event == start;
    }));
    p.Kill();
}

TEST_F(PracticeTimes, WithoutTheOptionNoTimedLogIsWritten) {
    TempDir dir(L"no-times");
    PracticeOptions o;
    o.logPath = dir.File(L"practice.log");
    ASSERT_TRUE(Start(o));
    ASSERT_TRUE(Log().WaitForLine(L"window"));
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((dir.Path() + L"\\*").c_str(), &fd);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    int files = 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    EXPECT_EQ(files, 1) << "only the log";
}

// A player can answer the win dialog without Enter; OK stays the first
// Button, the one Dealwarden presses Enter on.
TEST_F(PracticeTimes, WinDialogsCancelIsTheSecondButtonAndClosesWithoutAPress) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(game_->PostWin());
    HWND win = game_->WaitForDialog(kWinTitle);
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(Text(FindChild(win, kButton, 0)), L"OK");
    EXPECT_EQ(Style(FindChild(win, kButton, 0)) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    HWND cancel = FindChild(win, kButton, 1);
    ASSERT_EQ(Text(cancel), L"キャンセル");
    ASSERT_TRUE(Click(cancel));
    EXPECT_TRUE(WaitForGone(win));
    ASSERT_TRUE(Log().WaitForLine(L"closed win cancel"));
    EXPECT_EQ(Log().Count(L"pressed win 1"), 0u);
    EXPECT_TRUE(IsEnabled(main_));
    Deal(L"6");  // the game goes on
}

}  // namespace
}  // namespace dw::harness
