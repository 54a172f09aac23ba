// Dealwarden's entry point: the application window, then the three windows
// in the order each one's creation needs (the start window loads the record
// and finds FreeCell; the other two dock to FreeCell and show the record),
// then the message loop until the start window's close ends it.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "freecell/process_win.h"
#include "record/app_error.h"
#include "ui/CtrlF_win.h"
#include "ui/MainF_win.h"
#include "ui/SeisekiF_win.h"
#include "ui/app_window_win.h"
#include "ui/error_box_win.h"
#include "ui/profile_win.h"

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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);

    dw::Win32ProfileFiles profile;
    dw::Win32ProcessSystem processes;
    dw::AppWindow Application;
    if (!Step([&] { Application.Create(); })) return 1;

    dw::TFCMainF FCMainF(Application, profile, processes, ExecutablePath(),
                         [] { PostQuitMessage(0); });
    Step([&] { FCMainF.Create(); });
    if (!FCMainF.Hwnd()) return 1;
    dw::TFCSeisekiF FCSeisekiF(FCMainF);
    Step([&] { FCSeisekiF.Create(Application.Hwnd()); });
    dw::TFCCtrF FCCtrF(FCMainF, FCSeisekiF);
    Step([&] { FCCtrF.Create(Application.Hwnd()); });
    FCMainF.Attach(&FCSeisekiF, &FCCtrF);
    FCMainF.Show();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
