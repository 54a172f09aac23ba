// The practice FreeCell: a stand-in for the game Dealwarden drives, with the
// same window class, titles, menu and dialogs, and a log of every event it
// receives. See options_win.h for its command line.
#include <windows.h>

#include "event_log_win.h"
#include "main_window_win.h"
#include "options_win.h"

using namespace dw::practice;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCmd) {
    const std::wstring exe = ModulePath();
    const Options options = ParseOptions(exe, CollectArguments(exe));
    EventLog log(options.logPath, options.timesPath);
    log.Write(L"start " + std::to_wstring(GetCurrentProcessId()));
    for (const std::wstring& bad : options.errors) log.Write(L"bad-option " + bad);

    MainWindow window(options, log);
    if (options.minimized) showCmd = SW_SHOWMINNOACTIVE;
    // With a delay the message loop runs first, so the process is already
    // "idle" (WaitForInputIdle returns) before its window exists.
    UINT_PTR delayTimer = 0;
    if (!options.noWindow) {
        if (options.windowDelayMs > 0) {
            delayTimer = SetTimer(nullptr, 0, static_cast<UINT>(options.windowDelayMs), nullptr);
        } else if (!window.Create(showCmd)) {
            log.Write(L"exit 1");
            return 1;
        }
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (delayTimer && msg.hwnd == nullptr && msg.message == WM_TIMER &&
            msg.wParam == delayTimer) {
            KillTimer(nullptr, delayTimer);
            delayTimer = 0;
            if (!window.Create(showCmd)) break;
            continue;
        }
        if (window.Accelerate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    log.Write(L"exit 0");
    return 0;
}
