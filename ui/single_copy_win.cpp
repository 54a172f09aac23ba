#include "ui/single_copy_win.h"

#include "ui/app_window_win.h"

namespace dw {
namespace {

// In the session's namespace: a copy in another user's session has its own
// FreeCell and is none of ours.
constexpr wchar_t kMutexName[] = L"Local\\Dealwarden.OneCopy";
constexpr DWORD kFindBoundMs = 5000, kFindPollMs = 50;

}  // namespace

SingleCopyLock::SingleCopyLock() : mutex_(CreateMutexW(nullptr, FALSE, kMutexName)) {
    // A lock that cannot be made at all stops nobody: better two copies than none.
    held_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

void HandOverToRunningCopy() {
    HWND app = nullptr;
    for (DWORD waited = 0; !(app = FindWindowW(kAppWindowClass, nullptr)) && waited < kFindBoundMs;
         waited += kFindPollMs)
        Sleep(kFindPollMs);
    if (!app) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(app, &pid);
    if (pid) AllowSetForegroundWindow(pid);
    PostMessageW(app, RegisterWindowMessageW(kAnotherCopyMessage), 0, 0);
}

}  // namespace dw
