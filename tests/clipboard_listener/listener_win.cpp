// clipboard_listener --hold-ms N [--log PATH]
//
// Listens to the clipboard (AddClipboardFormatListener) and, after every
// change, holds it open for N ms, the way Windows' clipboard history and
// clipboard tools read what was put there. The log gets "ready" once it
// listens and "held N" after each hold; it ends when its window is closed.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "win/handles_win.h"

namespace {

unsigned holdMs = 40;
dw::win::UniqueHandle logFile;

void Log(const std::string& line) {
    if (!logFile) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(logFile.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CLIPBOARDUPDATE:
            // Opened at once, as the listeners do; nothing is changed, so
            // closing it again tells nobody.
            if (OpenClipboard(hwnd)) {
                Sleep(holdMs);
                CloseClipboard();
                Log("held " + std::to_string(holdMs));
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            RemoveClipboardFormatListener(hwnd);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; argv && i + 1 < argc; i += 2) {
        const std::wstring opt = argv[i];
        if (opt == L"--hold-ms") holdMs = static_cast<unsigned>(_wtoi(argv[i + 1]));
        if (opt == L"--log")
            logFile.reset(CreateFileW(argv[i + 1], FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    LocalFree(argv);

    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.lpszClassName = L"DealwardenTestClipboardListener";
    RegisterClassW(&wc);
    // A top-level window (not message-only) so that a test finds it and closes it.
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"clipboard listener", WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, inst, nullptr);
    if (!hwnd || !AddClipboardFormatListener(hwnd)) return 1;
    Log("ready");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
