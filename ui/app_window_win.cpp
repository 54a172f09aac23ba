#include "ui/app_window_win.h"

#include <vector>

#include "record/app_error.h"
#include "win/error_box_win.h"

namespace dw {
namespace {

// What Minimize hands the enumeration: the entry's window, and where the
// windows it hides are noted.
struct HideOwned {
    HWND owner;
    std::vector<HWND>& hidden;
};

// The system calls it with its own (stdcall on x86) convention: a named
// CALLBACK function, not a lambda.
BOOL CALLBACK HideOwnedWindow(HWND w, LPARAM param) {
    auto& job = *reinterpret_cast<HideOwned*>(param);
    if (w != job.owner && IsWindowVisible(w) && GetWindow(w, GW_OWNER) == job.owner) {
        job.hidden.push_back(w);
        ShowWindow(w, SW_HIDE);
    }
    return TRUE;
}

}  // namespace

void AppWindow::Create() {
    // A zero-sized captioned popup: on the taskbar, never seen on screen.
    CreateWin(kAppWindowClass, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, kAppTitle,
              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
              nullptr);
    ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
}

LRESULT AppWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == anotherCopy_ && anotherCopy_) {
        if (OnAnotherCopy) OnAnotherCopy();
        return 0;
    }
    if (msg == WM_CLOSE) {
        // The entry's close (its window menu, or Alt+F4 on it) runs the close
        // procedure; left to the default, it would destroy every window of
        // the program and leave it running without them.
        if (OnClose) OnClose();
        return 0;
    }
    if (msg == WM_SYSCOMMAND) {
        switch (wParam & 0xFFF0) {
            case SC_MINIMIZE:
                Minimize();
                return 0;
            case SC_RESTORE:
                Restore();
                return 0;
        }
    }
    return Default(msg, wParam, lParam);
}

void AppWindow::Minimize() {
    if (minimized_) return;
    minimized_ = true;
    hidden_.clear();
    HideOwned job{Hwnd(), hidden_};
    EnumThreadWindows(GetCurrentThreadId(), HideOwnedWindow, reinterpret_cast<LPARAM>(&job));
    ShowWindow(Hwnd(), SW_MINIMIZE);
    if (OnMinimize) OnMinimize();
}

void AppWindow::Restore() {
    if (!minimized_) return;
    minimized_ = false;
    ShowWindow(Hwnd(), SW_RESTORE);
    for (HWND w : hidden_)
        if (IsWindow(w)) ShowWindow(w, SW_SHOWNOACTIVATE);
    hidden_.clear();
    if (OnRestore) OnRestore();
}

}  // namespace dw
