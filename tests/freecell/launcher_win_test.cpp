// Finding and starting FreeCell for real (under Wine): the practice FreeCell
// copied to where FreeCell is looked for, and the not-found box read back
// from the screen and answered like a player would.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <string>

#include "freecell/launcher.h"
#include "freecell/process_win.h"
#include "harness/files_win.h"
#include "harness/practice_win.h"
#include "harness/process_win.h"
#include "harness/windows_win.h"

namespace dw {
namespace {

namespace fs = std::filesystem;
using harness::InstalledFreeCell;

// The working directory changed for one test.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::wstring& dir) {
        wchar_t old[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, old);
        old_ = old;
        SetCurrentDirectoryW(dir.c_str());
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    ~WorkingDirectory() { SetCurrentDirectoryW(old_.c_str()); }

private:
    std::wstring old_;
};

fs::path ImageOf(DWORD pid) {
    win::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    return path;
}

class LauncherWinTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness::KillStrayFreeCells();
        ASSERT_FALSE(harness::FileExists(harness::DriveRootInstallPath()))
            << "the prefix has a FreeCell of its own";
    }

    // Launches with the working directory in a fresh directory, which may
    // hold a FreeCell; a FreeCell started is taken over so it cannot outlive the test.
    LaunchResult Launch() {
        WorkingDirectory in(cwd.Path());
        Win32ProcessSystem sys;
        const LaunchResult r = Launcher(sys).FindOrLaunchFreeCell();
        if (r.FCHnd != kNoWindow)
            started = harness::Process::Attach(harness::OwnerProcess(win::ToHwnd(r.FCHnd)));
        return r;
    }

    // FreeCell closes as Dealwarden closes it at the end.
    void ExpectClosesOnRequest() {
        ASSERT_TRUE(started);
        auto w = harness::FindTopLevel(harness::ByClass(L"FreeCell", started.Id()));
        harness::Post(w, freecell::kClose);
        EXPECT_TRUE(started.WaitForExit());
    }

    harness::TempDir cwd{L"launcher"};
    harness::Process started;  // released first: ends before its file is removed
};

TEST_F(LauncherWinTest, InstalledCopyIsStartedAndFound) {
    const auto installed = InstalledFreeCell::AtDriveRoot(harness::PracticeFreeCellExe());

    const LaunchResult r = Launch();

    ASSERT_NE(r.FCHnd, kNoWindow);
    EXPECT_EQ(harness::ClassName(win::ToHwnd(r.FCHnd)), L"FreeCell");
    EXPECT_TRUE(fs::equivalent(ImageOf(started.Id()), installed.ExePath()))
        << ImageOf(started.Id());
    EXPECT_FALSE(r.notFound);
    ExpectClosesOnRequest();
}

TEST_F(LauncherWinTest, CopyInTheWorkingDirectoryIsStartedInstead) {
    const auto installed = InstalledFreeCell::AtDriveRoot(harness::PracticeFreeCellExe());
    const auto local = InstalledFreeCell::AtDirectory(cwd.Path(), harness::PracticeFreeCellExe());

    const LaunchResult r = Launch();

    ASSERT_NE(r.FCHnd, kNoWindow);
    EXPECT_TRUE(fs::equivalent(ImageOf(started.Id()), local.ExePath())) << ImageOf(started.Id());
    EXPECT_FALSE(r.notFound);
    ExpectClosesOnRequest();
}

// A 32-bit Dealwarden on 64-bit Windows is told that program files are in
// "Program Files (x86)"; FreeCell, a 64-bit program, is installed under
// "Program Files", which WOW64 does not redirect. The copy there is started.
TEST_F(LauncherWinTest, UnderWow64TheCopyUnderProgramFilesIsStartedNotOneUnderProgramFilesX86) {
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    if (!wow64) GTEST_SKIP() << "not a 32-bit process on 64-bit Windows";
    wchar_t programFiles[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH), 0u);
    const std::wstring x86Folder = programFiles;
    ASSERT_TRUE(x86Folder.ends_with(L" (x86)")) << "WOW64 names its own folder";
    const auto decoy = InstalledFreeCell::AtDirectory(x86Folder + L"\\Microsoft Games\\FreeCell",
                                                      harness::PracticeFreeCellExe());
    const auto installed = InstalledFreeCell::AtDriveRoot(harness::PracticeFreeCellExe());

    const LaunchResult r = Launch();

    ASSERT_NE(r.FCHnd, kNoWindow);
    EXPECT_TRUE(fs::equivalent(ImageOf(started.Id()), installed.ExePath()))
        << ImageOf(started.Id());
    EXPECT_FALSE(r.notFound);
    ExpectClosesOnRequest();
}

// What the player saw in the one message box of ours titled "エラー".
struct BoxSeen {
    bool shown = false;
    std::wstring text;
    std::vector<std::wstring> buttons;
    bool errorIcon = false;
    RECT rect{};
};

// Waits on another thread for the box the launcher blocks in, reads it and
// answers "OK" as the player would.
std::future<BoxSeen> AnswerBoxWhenShown() {
    return std::async(std::launch::async, [] {
        BoxSeen seen;
        harness::WindowMatch ours = harness::ByTitle(L"エラー", GetCurrentProcessId());
        ours.cls = L"#32770";
        ours.visibleOnly = true;
        HWND box = harness::WaitForDialogReady(ours, L"Button", std::chrono::seconds(15));
        if (!box) return seen;
        seen.shown = true;
        seen.rect = harness::ScreenRect(box);
        const HICON error = LoadIconW(nullptr, IDI_ERROR);
        for (HWND c : harness::Children(box)) {
            const std::wstring cls = harness::ClassName(c);
            if (cls == L"Button") seen.buttons.push_back(harness::Text(c));
            if (cls != L"Static") continue;
            if (!harness::Text(c).empty()) seen.text = harness::Text(c);
            const auto icon = reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0));
            if (icon && icon == error) seen.errorIcon = true;
        }
        harness::Post(box, WM_COMMAND, IDOK, 0);
        return seen;
    });
}

void ExpectCentredOnScreen(const RECT& box) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromRect(&box, MONITOR_DEFAULTTOPRIMARY), &mi);
    const RECT& area = mi.rcWork;
    EXPECT_NEAR((box.left + box.right) / 2, (area.left + area.right) / 2, 4);
    EXPECT_NEAR((box.top + box.bottom) / 2, (area.top + area.bottom) / 2, 4);
}

TEST_F(LauncherWinTest, NeitherPresentShowsTheMessageAndReportsNotFound) {
    auto box = AnswerBoxWhenShown();

    const LaunchResult r = Launch();

    const BoxSeen seen = box.get();
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.text,
              L"フリーセルが見つかりません。\r\n"
              L"コントロールパネル＞プログラム＞Windowsの機能の有効化または無効化\r\n"
              L"でフリーセルを追加してください。");
    EXPECT_EQ(seen.buttons.size(), 1u);
    EXPECT_TRUE(seen.errorIcon);
    ExpectCentredOnScreen(seen.rect);
    EXPECT_TRUE(r.notFound);
    EXPECT_TRUE(r.answeredOk);
    EXPECT_EQ(r.FCHnd, kNoWindow);
}

// A FREECELL.EXE that is no program: the player learns which file and why,
// and the launch ends as if FreeCell were missing.
TEST_F(LauncherWinTest, UnstartableFileShowsPathAndSystemReason) {
    ASSERT_TRUE(harness::WriteUtf8File(cwd.File(L"FREECELL.EXE"), L"not a program"));
    auto box = AnswerBoxWhenShown();

    const LaunchResult r = Launch();

    const BoxSeen seen = box.get();
    ASSERT_TRUE(seen.shown);
    const std::wstring head = L"フリーセル「.\\FREECELL.EXE」を起動できません。\r\n";
    EXPECT_TRUE(seen.text.starts_with(head)) << seen.text.size();
    EXPECT_GT(seen.text.size(), head.size()) << "the system's reason is missing";
    EXPECT_EQ(seen.text.find(L"%1"), std::wstring::npos) << "the reason's file left unnamed";
    EXPECT_EQ(seen.buttons.size(), 1u);
    EXPECT_TRUE(seen.errorIcon);
    EXPECT_TRUE(r.notFound);
    EXPECT_EQ(r.FCHnd, kNoWindow);
}

}  // namespace
}  // namespace dw
