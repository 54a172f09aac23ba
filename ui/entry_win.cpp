// Dealwarden's entry point: one copy at a time, then the application window
// and the three windows in the order each one's creation needs (the start
// window loads the record and finds FreeCell; the other two dock to FreeCell
// and show the record), then the message loop until the start window's
// close ends it, then the windows destroyed while their objects still live.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "freecell/process_win.h"
#include "record/app_error.h"
#include "record/profile_win.h"
#include "ui/CtrlF_win.h"
#include "ui/MainF_win.h"
#include "ui/SeisekiF_win.h"
#include "ui/app_window_win.h"
#include "ui/single_copy_win.h"
#include "win/error_box_win.h"

namespace {

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// Runs one creation step; its error is shown and the program goes on, as
// for any handler.
template <class F>
bool Step(F&& f) {
    try {
        f();
        return true;
    } catch (const dw::AppError& e) {
        dw::ShowGeneralErrorBox(e.Message());
    }
    return false;
}

int MessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    dw::Win32SingleCopy oneCopy;  // held until the program ends
    if (dw::StartOneCopy(oneCopy) == dw::CopyStart::Exit) return 0;

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);

    // Shared with the writer's thread, whose last write may outlast the windows.
    auto profile = std::make_shared<dw::Win32ProfileFiles>();
    dw::Win32ProcessSystem processes;
    dw::AppWindow Application;
    if (!Step([&] { Application.Create(); })) return 1;

    dw::TFCMainF FCMainF(Application, profile, processes, ExecutablePath(),
                         [] { PostQuitMessage(0); });
    dw::TFCSeisekiF FCSeisekiF(FCMainF.Run());
    dw::TFCCtrF FCCtrF(FCMainF.Run());
    int exitCode = 1;
    Step([&] { FCMainF.Create(); });
    if (FCMainF.Hwnd()) {
        Step([&] { FCSeisekiF.Create(Application.Hwnd()); });
        Step([&] { FCCtrF.Create(Application.Hwnd()); });
        FCMainF.Attach(&FCSeisekiF, &FCCtrF);
        FCMainF.Show();
        exitCode = MessageLoop();
    }

    // Nothing may reach a window that is going: the start window forgets the
    // other two before they are destroyed, each while its object lives.
    FCMainF.Attach(nullptr, nullptr);
    FCCtrF.Destroy();
    FCSeisekiF.Destroy();
    FCMainF.Destroy();
    Application.Destroy();
    return exitCode;
}
