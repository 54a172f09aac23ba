// Settings files that are hard to use, end to end under Wine: at the longest
// path the system accepts every save works (the save's copy is no longer
// than the file's own name); one that cannot be read at start is told with
// the path and the reason, and the record stored there is never replaced.
// (A path past the limit is refused the same way, but Wine 8 cannot start a
// program from such a path, so that case is tried below the window classes.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "e2e/dealwarden_run_win.h"
#include "record/settings.h"
#include "ui/CtrlF_win.h"
#include "win/handles_win.h"

namespace dw::e2e {
namespace {

using namespace harness;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using F = ScoreField;

void WinThenQuit(DealwardenRun& run) {
    ASSERT_TRUE(PostMessageW(run.FreeCell(), PracticeWinMessage(), 0, 0));
    ASSERT_TRUE(run.WaitForDeal(2)) << run.Log().Dump();
    Click(run.BarButton(TFCCtrF::kIdSpeedButton4));
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(run.Program().ExitCode(), 0u);
    EXPECT_EQ(run.MessageBoxCount(), 0u);
}

TEST(SettingsPathTest, AtTheLongestPathTheSystemAcceptsEverySaveWorks) {
    DealwardenRun run({}, true, kMaxSettingsPathChars);
    ASSERT_EQ(run.IniPath().size(), kMaxSettingsPathChars);
    ASSERT_TRUE(run.StartPlaying()) << run.Log().Dump();
    ASSERT_TRUE(PostMessageW(run.FreeCell(), PracticeWinMessage(), 0, 0));
    ASSERT_TRUE(run.WaitForDeal(2)) << run.Log().Dump();
    EXPECT_TRUE(WaitUntil([&] { return run.IniValue(L"Game", L"GameNo") == L"2"; }))
        << "the booking was not saved";
    EXPECT_EQ(run.MessageBoxCount(), 0u) << "a save failed";
    Click(run.BarButton(TFCCtrF::kIdSpeedButton4));
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(run.IniValue(L"Hist", L"hist0"), L"1 勝ち");
    EXPECT_FALSE(FileExists(IniTempFileNameFor(run.IniPath())));
}

// A settings file another program holds open without sharing when Dealwarden
// starts cannot be read: the player is told with the path and the reason,
// and the record stored there is never replaced by the fresh one shown —
// not even once the other program has let go of it.
TEST(SettingsPathTest, ASettingsFileThatCannotBeReadAtStartIsToldAndNeverReplaced) {
    DealwardenRun run;
    run.WriteSettings(L"[Game]\r\nGameNo=77\r\nTryCnt=1\r\n[Score]\r\nwon=5\r\n");
    const std::string stored = ReadBytes(run.IniPath());
    ASSERT_FALSE(stored.empty());
    win::UniqueHandle lock(CreateFileW(run.IniPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);

    run.Start();
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "not told";
    EXPECT_TRUE(OwnedAndInFront(box, run.StartWindow())) << "the start window is the one shown";
    const std::wstring text = MessageBoxText(box);
    EXPECT_THAT(text, StartsWith(L"設定ファイル " + run.IniPath() + L" を使用できません（"));
    EXPECT_THAT(text, HasSubstr(L"この回の記録は保存されません"));
    lock = win::UniqueHandle();
    Click(FindChild(box, L"Button"));
    ASSERT_TRUE(WaitForGone(box));
    // The score window is made once the box is answered.
    EXPECT_TRUE(run.WaitForScore(F::SpinEdit1, L"1"))
        << "a fresh record, not the one it could not read";
    run.PressStart();
    ASSERT_TRUE(run.WaitForDeal(1)) << run.Log().Dump();
    WinThenQuit(run);  // booked, saved nowhere, quit without a question
    EXPECT_EQ(ReadBytes(run.IniPath()), stored) << "the stored record was replaced";
}

}  // namespace
}  // namespace dw::e2e
