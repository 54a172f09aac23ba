// dealwarden_demo DIR [DOCS]: runs DIR\Dealwarden.exe (with the practice
// FreeCell beside it as FREECELL.EXE) through a win and a failed try, moves
// FreeCell to the top of the screen, then quits from the control bar,
// saving a screenshot after each step. With DOCS, the picture of FreeCell at
// the top edge, cut to the three windows, goes there too.
#include <windows.h>

#include <cstdio>
#include <string>

#include "harness/event_log_win.h"
#include "harness/files_win.h"
#include "harness/practice_win.h"
#include "harness/process_win.h"
#include "harness/screenshot_win.h"
#include "harness/windows_win.h"

using namespace dw::harness;

namespace {

std::string Utf8(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
}

void Shot(const wchar_t* name) {
    Sleep(300);  // let the windows paint
    const std::wstring path = SaveScreenshot(name);
    std::printf("screenshot: %s\n", Utf8(path).c_str());
    std::fflush(stdout);
}

bool Step(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok:  " : "FAILED:", what);
    std::fflush(stdout);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: dealwarden_demo DIR [DOCS]\n");
        return 2;
    }
    const std::wstring dir = argv[1];
    const std::wstring docs = argc > 2 ? argv[2] : L"";
    KillStrayFreeCells();
    Process program = Process::Start(dir + L"\\Dealwarden.exe", {}, dir);
    EventLogReader log(dir + L"\\FREECELL.log");

    HWND start = WaitForTopLevel(ByClass(L"TFCMainF", program.Id()));
    HWND fc = WaitForTopLevel(ByClass(L"FreeCell"));
    Process freecell = fc ? Process::Attach(OwnerProcess(fc)) : Process();
    if (!Step(start && fc, "Dealwarden started FreeCell")) return 1;
    WaitUntil([&] { return IsVisible(start); });
    Shot(L"1-start-window");

    const std::size_t before = log.Lines().size();
    Click(WaitForChild(start, L"Button"));
    if (!Step(log.WaitForPrefix(L"deal ", before).has_value(), "first deal entered")) return 1;
    Shot(L"2-playing");

    const std::size_t beforeWin = log.Lines().size();
    PostMessageW(fc, PracticeWinMessage(), 0, 0);
    if (!Step(log.WaitForPrefix(L"deal ", beforeWin).has_value(), "win booked, next deal entered"))
        return 1;
    Shot(L"3-after-a-win");

    PostMessageW(fc, PracticeStuckMessage(), 0, 0);
    if (!Step(log.WaitForPrefix(L"restart", beforeWin).has_value(), "failed try booked")) return 1;
    Sleep(1200);
    Shot(L"4-after-a-failed-try");

    // A common place for FreeCell: at the top, the bar has to go below it.
    HWND bar = WaitForTopLevel(ByClass(L"TFCCtrF", program.Id()));
    HWND score = WaitForTopLevel(ByClass(L"TFCSeisekiF", program.Id()));
    SetWindowPos(fc, nullptr, 200, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!Step(WaitUntil([&] { return ScreenRect(bar).top > ScreenRect(fc).bottom; }),
              "FreeCell at the top edge, the bar below it"))
        return 1;
    Shot(L"5-top-edge");
    if (!docs.empty()) {
        RECT all = ScreenRect(fc), part = ScreenRect(bar);
        UnionRect(&all, &all, &part);
        part = ScreenRect(score);
        UnionRect(&all, &all, &part);
        InflateRect(&all, 10, 10);
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        IntersectRect(&all, &all, &screen);
        const std::wstring path = docs + L"\\dealwarden-top-edge.png";
        if (!Step(SaveScreenshotOf(path, all), "picture for the documentation")) return 1;
        std::printf("screenshot: %s\n", Utf8(path).c_str());
    }

    Click(GetDlgItem(bar, 204));  // quit
    if (!Step(program.WaitForExit(), "quit from the control bar")) return 1;
    std::printf("settings: %s\n", Utf8(dir + L"\\Dealwarden.Ini").c_str());
    return 0;
}
