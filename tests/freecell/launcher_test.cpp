// Finding or starting FreeCell against a scripted process system that records
// every call, so each case pins down what was looked up, started and shown.
#include "freecell/launcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// Cases leave the script fields they do not need at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace dw {
namespace {

using ::testing::ElementsAreArray;

const wchar_t kInstalledC[] = L"C:\\Program Files\\Microsoft Games\\FreeCell\\FREECELL.EXE";
const wchar_t kInstalledD[] = L"D:\\Program Files\\Microsoft Games\\FreeCell\\FREECELL.EXE";

// What the fake system holds and answers.
struct Script {
    std::wstring windowsDir = L"C:\\Windows";
    std::vector<WindowHandle> lookups;  // successive class look-ups; past the end, none
    std::set<std::wstring> files;
    std::wstring startError;     // set: the start fails with this reason
    std::vector<IdleWait> idle;  // successive idle waits; past the end, the last one
    int exitedAfterWaits = -1;   // the process has ended once this many waits were made
    int answer = kIDOK;          // the player's answer to any message box
};

class FakeProcessSystem;

class FakeStartedProcess : public IStartedProcess {
public:
    explicit FakeStartedProcess(FakeProcessSystem& sys) : sys_(sys) {}
    IdleWait WaitForInputIdle(unsigned timeoutMs) override;
    bool HasExited() override;

private:
    FakeProcessSystem& sys_;
};

class FakeProcessSystem : public IProcessSystem {
public:
    explicit FakeProcessSystem(Script s) : script(std::move(s)) {}

    Script script;
    std::vector<std::wstring> calls;
    unsigned elapsedMs = 0;  // time the launcher would have spent waiting and sleeping
    int waits = 0;

    void Record(std::wstring call) {
        // A launcher that never stops waiting fails here instead of hanging the test.
        if (calls.size() > 5000) throw std::runtime_error("runaway launcher");
        calls.push_back(std::move(call));
    }

    unsigned WindowsDirectoryLength() override {
        Record(L"WindowsDirectoryLength");
        return static_cast<unsigned>(script.windowsDir.size() + 1);
    }
    std::wstring WindowsDirectory(unsigned length) override {
        Record(L"WindowsDirectory " + std::to_wstring(length));
        return length > script.windowsDir.size() ? script.windowsDir : std::wstring();
    }
    bool FileExists(const std::wstring& path) override {
        const bool yes = script.files.count(path) != 0;
        Record(L"FileExists " + path + (yes ? L" -> yes" : L" -> no"));
        return yes;
    }
    StartedProcess StartProcess(const std::wstring& commandLine) override {
        Record(L"StartProcess " + commandLine);
        if (!script.startError.empty()) return {nullptr, script.startError};
        return {std::make_unique<FakeStartedProcess>(*this), {}};
    }
    void Sleep(unsigned ms) override {
        elapsedMs += ms;
        Record(L"Sleep " + std::to_wstring(ms));
    }
    WindowHandle FindWindowByClass(std::wstring_view cls) override {
        const WindowHandle h =
            lookup_ < script.lookups.size() ? script.lookups[lookup_] : kNoWindow;
        ++lookup_;
        Record(L"FindWindowByClass " + std::wstring(cls) + L" -> " + std::to_wstring(h));
        return h;
    }
    int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned type) override {
        Record(L"ShowMessage " + title + L" " + std::to_wstring(type) + L" " + text);
        return script.answer;
    }

private:
    size_t lookup_ = 0;
};

IdleWait FakeStartedProcess::WaitForInputIdle(unsigned timeoutMs) {
    const auto& idle = sys_.script.idle;
    const IdleWait r =
        idle.empty() ? IdleWait::Timeout : idle[std::min<size_t>(sys_.waits, idle.size() - 1)];
    ++sys_.waits;
    if (r == IdleWait::Timeout) sys_.elapsedMs += timeoutMs;
    static const wchar_t* const names[] = {L"idle", L"timeout", L"failed"};
    sys_.Record(L"WaitForInputIdle " + std::to_wstring(timeoutMs) + L" -> " +
                names[static_cast<int>(r)]);
    return r;
}

bool FakeStartedProcess::HasExited() {
    const bool yes =
        sys_.script.exitedAfterWaits >= 0 && sys_.waits >= sys_.script.exitedAfterWaits;
    sys_.Record(yes ? L"HasExited -> yes" : L"HasExited -> no");
    return yes;
}

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
TEST(LauncherWait, NeverReadyProcessIsWaitedForTheBoundThenLookedUp) {
    FakeProcessSystem sys({.lookups = {0, 4}, .files = {L"FREECELL.EXE"}});
    const LaunchResult r = Launcher(sys).FindOrLaunchFreeCell();
    EXPECT_EQ(r.FCHnd, 4u);
    EXPECT_FALSE(r.notFound);
    EXPECT_GE(sys.elapsedMs, 10000u);
    EXPECT_LE(sys.elapsedMs, 10000u + Launcher::kIdleSliceMs + Launcher::kIdlePauseMs);
    EXPECT_EQ(sys.calls.back(), L"FindWindowByClass FreeCell -> 4");
    // Every wait is short, so an ended process is noticed soon after.
    for (const auto& call : sys.calls) {
        if (call.starts_with(L"WaitForInputIdle")) {
            EXPECT_EQ(call, L"WaitForInputIdle 100 -> timeout");
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
