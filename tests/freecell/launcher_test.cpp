// Finding or starting FreeCell against a scripted process system that records
// every call, so each case pins down what was looked up, started and shown.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "freecell/launcher.h"
#include "tests/fakes/fake_process_system.h"

// Cases leave the script fields they do not need at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace dw {
namespace {

using ::testing::ElementsAreArray;
using testing::FakeProcessSystem;
using testing::Script;

const wchar_t kInstalledC[] = L"C:\\Program Files\\Microsoft Games\\FreeCell\\FREECELL.EXE";
const wchar_t kInstalledD[] = L"D:\\Program Files\\Microsoft Games\\FreeCell\\FREECELL.EXE";
// Where a 32-bit process on 64-bit Windows is told program files live
// (%ProgramFiles%, the known folder): FreeCell, a 64-bit program there, is not.
const wchar_t kProgramFilesX86C[] =
    L"C:\\Program Files (x86)\\Microsoft Games\\FreeCell\\FREECELL.EXE";

struct Case {
    const char* name;
    Script script;
    std::vector<std::wstring> calls;
    LaunchResult result;
};

// The calls every launch begins with, for C:\Windows.
std::vector<std::wstring> Begin(const std::wstring& firstLookup) {
    return {L"WindowsDirectoryLength", L"WindowsDirectory 11",
            L"FindWindowByClass FreeCell -> " + firstLookup};
}

std::vector<std::wstring> Then(std::vector<std::wstring> a, const std::vector<std::wstring>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::wstring kShowNotFound =
    L"ShowMessage エラー 16 フリーセルが見つかりません。\r\n"
    L"コントロールパネル＞プログラム＞Windowsの機能の有効化または無効化\r\n"
    L"でフリーセルを追加してください。";

std::vector<Case> Cases() {
    const std::wstring noLocal = L"FileExists FREECELL.EXE -> no";
    const std::wstring wait = L"WaitForInputIdle 100 -> ";
    return {
        {"AlreadyRunningStartsNothingAndShowsNothing",
         {.lookups = {7, 7}, .files = {L"FREECELL.EXE"}},
         Then(Begin(L"7"), {L"FindWindowByClass FreeCell -> 7"}),
         {7, false, false}},
        {"CurrentDirectoryCopyWinsOverInstalledOne",
         {.lookups = {0, 9}, .files = {L"FREECELL.EXE", kInstalledC}, .idle = {IdleWait::Idle}},
         Then(Begin(L"0"), {L"FileExists FREECELL.EXE -> yes", L"StartProcess \".\\FREECELL.EXE\"",
                            wait + L"idle", L"Sleep 10", L"FindWindowByClass FreeCell -> 9"}),
         {9, false, false}},
        {"InstalledOneOnTheWindowsDrive",
         {.windowsDir = L"D:\\Windows",
          .lookups = {0, 9},
          .files = {kInstalledC, kInstalledD},
          .idle = {IdleWait::Idle}},
         {L"WindowsDirectoryLength", L"WindowsDirectory 11", L"FindWindowByClass FreeCell -> 0",
          noLocal, L"FileExists " + std::wstring(kInstalledD) + L" -> yes",
          L"StartProcess \"" + std::wstring(kInstalledD) + L"\"", wait + L"idle", L"Sleep 10",
          L"FindWindowByClass FreeCell -> 9"},
         {9, false, false}},
        {"WindowsDirectoryOfAnyLength",
         {.windowsDir = L"E:\\WINNT\\System",
          .lookups = {0, 9},
          .files = {L"E:\\Program Files\\Microsoft Games\\FreeCell\\FREECELL.EXE"},
          .idle = {IdleWait::Idle}},
         {L"WindowsDirectoryLength", L"WindowsDirectory 16", L"FindWindowByClass FreeCell -> 0",
          noLocal, L"FileExists E:\\Program Files\\Microsoft Games\\FreeCell\\FREECELL.EXE -> yes",
          L"StartProcess \"E:\\Program Files\\Microsoft Games\\FreeCell\\FREECELL.EXE\"",
          wait + L"idle", L"Sleep 10", L"FindWindowByClass FreeCell -> 9"},
         {9, false, false}},
        // The path is the Windows drive's root and the literal folder, the same
        // in a 32-bit process as in a 64-bit one (WOW64 does not redirect it):
        // a copy under "Program Files (x86)" is neither looked at nor started.
        {"In32BitProcessTheInstalledOneIsUnderProgramFilesNotProgramFilesX86",
         {.lookups = {0, 9}, .files = {kProgramFilesX86C, kInstalledC}, .idle = {IdleWait::Idle}},
         Then(Begin(L"0"), {noLocal, L"FileExists " + std::wstring(kInstalledC) + L" -> yes",
                            L"StartProcess \"" + std::wstring(kInstalledC) + L"\"", wait + L"idle",
                            L"Sleep 10", L"FindWindowByClass FreeCell -> 9"}),
         {9, false, false}},
        {"In32BitProcessACopyOnlyUnderProgramFilesX86IsNotFreeCell",
         {.files = {kProgramFilesX86C}},
         Then(Begin(L"0"), {noLocal, L"FileExists " + std::wstring(kInstalledC) + L" -> no",
                            kShowNotFound, L"FindWindowByClass FreeCell -> 0"}),
         {0, true, true}},
        {"NeitherFileTellsThePlayerAndReportsNotFound",
         {},
         Then(Begin(L"0"), {noLocal, L"FileExists " + std::wstring(kInstalledC) + L" -> no",
                            kShowNotFound, L"FindWindowByClass FreeCell -> 0"}),
         {0, true, true}},
        {"NotFoundBoxNotAnsweredOk",
         {.answer = 0},
         Then(Begin(L"0"), {noLocal, L"FileExists " + std::wstring(kInstalledC) + L" -> no",
                            kShowNotFound, L"FindWindowByClass FreeCell -> 0"}),
         {0, true, false}},
        {"StartFailingNamesPathAndReasonAndDoesNotWait",
         {.files = {kInstalledC}, .startError = L"アクセスが拒否されました"},
         Then(Begin(L"0"), {noLocal, L"FileExists " + std::wstring(kInstalledC) + L" -> yes",
                            L"StartProcess \"" + std::wstring(kInstalledC) + L"\"",
                            L"ShowMessage エラー 16 フリーセル「" + std::wstring(kInstalledC) +
                                L"」を起動できません。\r\nアクセスが拒否されました",
                            L"FindWindowByClass FreeCell -> 0"}),
         {0, true, true}},
        {"ProcessEndedAtOnceIsNotWaitedFor",
         {.files = {L"FREECELL.EXE"}, .idle = {IdleWait::Timeout}, .exitedAfterWaits = 1},
         Then(Begin(L"0"), {L"FileExists FREECELL.EXE -> yes", L"StartProcess \".\\FREECELL.EXE\"",
                            wait + L"timeout", L"Sleep 10", L"HasExited -> yes",
                            L"FindWindowByClass FreeCell -> 0"}),
         {0, false, false}},
        {"ProcessThatCannotBeWaitedForIsNotWaitedFor",
         {.files = {L"FREECELL.EXE"}, .idle = {IdleWait::Failed}},
         Then(Begin(L"0"), {L"FileExists FREECELL.EXE -> yes", L"StartProcess \".\\FREECELL.EXE\"",
                            wait + L"failed", L"Sleep 10", L"FindWindowByClass FreeCell -> 0"}),
         {0, false, false}},
        {"WindowThatAppearsAfterTheWaitIsFoundByTheSecondLookUp",
         {.lookups = {0, 5},
          .files = {L"FREECELL.EXE"},
          .idle = {IdleWait::Timeout, IdleWait::Timeout, IdleWait::Idle}},
         Then(Begin(L"0"), {L"FileExists FREECELL.EXE -> yes", L"StartProcess \".\\FREECELL.EXE\"",
                            wait + L"timeout", L"Sleep 10", L"HasExited -> no", wait + L"timeout",
                            L"Sleep 10", L"HasExited -> no", wait + L"idle", L"Sleep 10",
                            L"FindWindowByClass FreeCell -> 5"}),
         {5, false, false}},
        {"WindowThatNeverAppearsLeavesFCHndNone",
         {.lookups = {0, 0, 8}, .files = {L"FREECELL.EXE"}, .idle = {IdleWait::Idle}},
         Then(Begin(L"0"), {L"FileExists FREECELL.EXE -> yes", L"StartProcess \".\\FREECELL.EXE\"",
                            wait + L"idle", L"Sleep 10", L"FindWindowByClass FreeCell -> 0"}),
         {0, false, false}},
    };
}

class LaunchCase : public ::testing::TestWithParam<Case> {};

TEST_P(LaunchCase, LooksStartsAndReportsExactly) {
    const Case& c = GetParam();
    FakeProcessSystem sys(c.script);
    const LaunchResult r = Launcher(sys).FindOrLaunchFreeCell();
    EXPECT_THAT(sys.calls, ElementsAreArray(c.calls));
    EXPECT_EQ(r.FCHnd, c.result.FCHnd);
    EXPECT_EQ(r.notFound, c.result.notFound);
    EXPECT_EQ(r.answeredOk, c.result.answeredOk);
}

INSTANTIATE_TEST_SUITE_P(Launcher, LaunchCase, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A started FreeCell that never becomes ready for input (no message loop, or
// hung) is waited for some seconds, not for ever nor only a moment.
// The bound is time, whatever each wait lasts: on a clock that moves in
// Windows' 16 ms ticks a 10 ms pause is 16 ms and a 100 ms wait 112 ms, and
// the wait still ends within one round of the bound.
TEST(LauncherWait, NeverReadyProcessIsWaitedForTheBoundThenLookedUp) {
    for (unsigned tick : {0u, testing::kWindowsTickMs}) {
        SCOPED_TRACE(tick);
        FakeProcessSystem sys({.lookups = {0, 4}, .files = {L"FREECELL.EXE"}, .tickMs = tick});
        const LaunchResult r = Launcher(sys).FindOrLaunchFreeCell();
        EXPECT_EQ(r.FCHnd, 4u);
        EXPECT_FALSE(r.notFound);
        EXPECT_GE(sys.elapsedMs, Launcher::kReadyBoundMs);
        EXPECT_LE(sys.elapsedMs, Launcher::kReadyBoundMs +
                                     testing::OnTicks(Launcher::kIdleSliceMs, tick) +
                                     testing::OnTicks(Launcher::kIdlePauseMs, tick));
        EXPECT_EQ(sys.calls.back(), L"FindWindowByClass FreeCell -> 4");
        // Every wait is short, so an ended process is noticed soon after.
        for (const auto& call : sys.calls) {
            if (call.starts_with(L"WaitForInputIdle")) {
                EXPECT_EQ(call, L"WaitForInputIdle 100 -> timeout");
            }
        }
    }
}

TEST(LauncherWait, ProcessEndingDuringTheWaitStopsItThen) {
    FakeProcessSystem sys({.files = {L"FREECELL.EXE"}, .exitedAfterWaits = 4});
    Launcher(sys).FindOrLaunchFreeCell();
    EXPECT_EQ(sys.waits, 4);
    EXPECT_EQ(sys.calls.back(), L"FindWindowByClass FreeCell -> 0");
}

}  // namespace
}  // namespace dw
