// The harness's own promises: installs land where Dealwarden looks and go
// away again, processes never outlive their owner, screenshots show the
// screen, the practice FreeCell's options and log survive the trip.
#include <windows.h>
// windows.h first
#include <gtest/gtest.h>
#include <shellapi.h>

#include "e2e/practice_fixture_win.h"
#include "harness/files_win.h"

namespace dw::harness {
namespace {

using namespace freecell;

using Harness = PracticeTest;

TEST_F(Harness, InstallsAtTheDriveRootAndRemovesItAgain) {
    const std::wstring expected = L"C:\\Program Files\\Microsoft Games\\FreeCell\\FREECELL.EXE";
    ASSERT_FALSE(FileExists(expected)) << "left over from an earlier run";
    {
        PracticeOptions o;
        o.selectInitial = 42;
        InstalledFreeCell installed =
            InstalledFreeCell::AtDriveRoot(PracticeFreeCellExe(), o.ArgumentLine());
        EXPECT_EQ(installed.ExePath(), expected);
        ASSERT_TRUE(FileExists(expected));
        // Started without arguments, as Dealwarden starts it: the args file
        // beside it still applies, and the log goes beside it.
        Process p = Process::Start(expected);
        EventLogReader log(installed.DefaultLogPath());
        ASSERT_TRUE(log.WaitForPrefix(L"start "));
        HWND main = WaitForTopLevel(ByClass(std::wstring(kWindowClass), p.Id()));
        ASSERT_NE(main, nullptr);
        PostAll(main, OpenSelectGame());
        HWND select =
            WaitForDialogReady(ByTitle(std::wstring(CkWord[kSelectGame]), p.Id()), L"Edit");
        ASSERT_NE(select, nullptr);
        EXPECT_EQ(Text(FindChild(select, L"Edit")), L"42");
        p.Kill();
    }
    EXPECT_FALSE(FileExists(expected));
    EXPECT_EQ(GetFileAttributesW(L"C:\\Program Files\\Microsoft Games"), INVALID_FILE_ATTRIBUTES)
        << "directories the install created stay behind";
}

TEST_F(Harness, InstallsIntoAWorkingDirectory) {
    TempDir dir(L"install");
    std::wstring exe;
    {
        InstalledFreeCell installed =
            InstalledFreeCell::AtDirectory(dir.Path(), PracticeFreeCellExe());
        exe = installed.ExePath();
        EXPECT_EQ(exe, dir.Path() + L"\\FREECELL.EXE");
        ASSERT_TRUE(FileExists(exe));
        PracticeFreeCell game({}, exe);
        EXPECT_NE(game.WaitForMainWindow(), nullptr);
    }
    EXPECT_FALSE(FileExists(exe));
}

TEST_F(Harness, ProcessIsKilledAtDestructionAndStraysAreEnded) {
    TempDir dir(L"kill");
    DWORD pid = 0;
    {
        Process p = Process::Start(PracticeFreeCellExe(), {L"--log", dir.File(L"a.log")});
        pid = p.Id();
        ASSERT_NE(WaitForTopLevel(ByClass(std::wstring(kWindowClass), pid)), nullptr);
    }
    EXPECT_TRUE(WaitForNoTopLevel(ByClass(std::wstring(kWindowClass), pid)));
    Process survivor = Process::Attach(pid);
    EXPECT_FALSE(survivor.Running());

    // A program started outside any owner (as by a crashed test) is found
    // by its windows and ended.
    Process stray = Process::Start(PracticeFreeCellExe(), {L"--log", dir.File(L"b.log")});
    ASSERT_NE(WaitForTopLevel(ByClass(std::wstring(kWindowClass), stray.Id())), nullptr);
    EXPECT_EQ(KillStrayFreeCells(), 1);
    EXPECT_TRUE(stray.WaitForExit());
}

// The launcher's tests need a FreeCell that is idle before its window
// exists, or that never makes one.
TEST_F(Harness, WindowDelayAndNoWindowOptions) {
    PracticeOptions delayed;
    delayed.windowDelayMs = 1500;
    PracticeFreeCell late(delayed);
    ASSERT_TRUE(late.Proc().WaitForInputIdle());
    EXPECT_EQ(late.MainWindow(), nullptr);
    EXPECT_NE(late.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(late.Log().WaitForLine(L"window"));

    PracticeOptions none;
    none.noWindow = true;
    PracticeFreeCell never(none);
    ASSERT_TRUE(never.Proc().WaitForInputIdle());
    EXPECT_EQ(
        WaitForTopLevel(ByClass(std::wstring(kWindowClass), never.Proc().Id()), milliseconds(700)),
        nullptr);
    EXPECT_TRUE(never.Proc().Running());
}

TEST(HarnessArguments, QuotedArgumentsSplitBackUnchanged) {
    const std::vector<std::wstring> args = {L"plain",           L"two words",  L"",
                                            L"say \"hi\"",      L"C:\\dir\\",  L"C:\\my dir\\",
                                            L"back\\\\\"slash", L"ゲーム 番号"};
    std::wstring line = L"prog.exe";
    for (const auto& a : args) line += L" " + QuoteArgument(a);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(line.c_str(), &argc);
    ASSERT_NE(argv, nullptr);
    std::vector<std::wstring> back(argv + 1, argv + argc);
    LocalFree(argv);
    EXPECT_EQ(back, args);
}

TEST_F(Harness, UnknownOptionsAreLoggedInUtf8) {
    TempDir dir(L"opts");
    Process p = Process::Start(PracticeFreeCellExe(),
                               {L"--log", dir.File(L"o.log"), L"--ゲーム", L"--win-enters", L"x"});
    EventLogReader log(dir.File(L"o.log"));
    EXPECT_TRUE(log.WaitForLine(L"bad-option --ゲーム"));
    EXPECT_TRUE(log.WaitForLine(L"bad-option --win-enters"));
    EXPECT_EQ(log.Lines().front(), L"start " + std::to_wstring(p.Id()));
}

// Reads back the pixels of a PNG as WritePng lays it out (stored deflate
// blocks, filter 0 rows).
struct Png {
    int width = 0, height = 0;
    std::vector<std::uint8_t> raw;  // filter byte + RGB per row
    std::uint32_t Pixel(int x, int y) const {
        const auto* p = raw.data() + static_cast<std::size_t>(y) * (width * 3 + 1) + 1 + x * 3;
        return (p[0] << 16) | (p[1] << 8) | p[2];
    }
};

std::uint32_t Be32(const std::string& s, std::size_t at) {
    return (std::uint32_t(std::uint8_t(s[at])) << 24) |
           (std::uint32_t(std::uint8_t(s[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(s[at + 2])) << 8) | std::uint8_t(s[at + 3]);
}

std::optional<Png> ReadStoredPng(const std::wstring& path) {
    win::UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!f) return std::nullopt;
    std::string data;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got) data.append(buf, got);
    if (data.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return std::nullopt;
    Png png;
    std::string idat;
    for (std::size_t at = 8; at + 8 <= data.size();) {
        const std::uint32_t len = Be32(data, at);
        const std::string type = data.substr(at + 4, 4);
        if (type == "IHDR") {
            png.width = static_cast<int>(Be32(data, at + 8));
            png.height = static_cast<int>(Be32(data, at + 12));
        }
        if (type == "IDAT") idat += data.substr(at + 8, len);
        at += 12 + len;
    }
    for (std::size_t at = 2; at + 5 <= idat.size();) {
        const std::size_t n = std::uint8_t(idat[at + 1]) | (std::uint8_t(idat[at + 2]) << 8);
        png.raw.insert(png.raw.end(), idat.begin() + at + 5, idat.begin() + at + 5 + n);
        const bool last = idat[at] & 1;
        at += 5 + n;
        if (last) break;
    }
    return png;
}

TEST_F(Harness, ScreenshotShowsTheScreenAsAPng) {
    ASSERT_TRUE(Start());
    const RECT r = ScreenRect(main_);
    const int x = (r.left + r.right) / 2, y = r.bottom - 40;
    std::wstring path;
    std::optional<Png> png;
    // The window may be shown before it has painted its felt: shoot until
    // it has (the first shot normally shows it).
    const bool green = WaitUntil([&] {
        path = SaveScreenshot(L"harness-screenshot");
        png = ReadStoredPng(path);
        return png &&
               png->raw.size() == static_cast<std::size_t>(png->width * 3 + 1) * png->height &&
               png->Pixel(x, y) == 0x006E28u;  // the practice window's green felt
    });
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path, ThisExeDirectory() + L"\\screenshots\\harness-screenshot.png");
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(png->height, GetSystemMetrics(SM_CYSCREEN));
    ASSERT_EQ(png->raw.size(), static_cast<std::size_t>(png->width * 3 + 1) * png->height);
    EXPECT_TRUE(green) << std::hex << png->Pixel(x, y);
}

}  // namespace
}  // namespace dw::harness
