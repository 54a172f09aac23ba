#include "ui/single_copy_win.h"

#include "record/app_error.h"
#include "ui/app_window_win.h"
#include "win/error_box_win.h"

namespace dw {
namespace {

// In the session's namespace: a copy in another user's session has its own
// FreeCell and is none of ours.
constexpr wchar_t kMutexName[] = L"Local\\Dealwarden.OneCopy";

}  // namespace

CopyLock Win32SingleCopy::TakeLock() {
    // Owned from the start, so that a copy that waits for it gets it only
    // once this one has ended (or was ended).
    mutex_.reset(CreateMutexW(nullptr, TRUE, kMutexName));
    const DWORD err = GetLastError();
    if (mutex_) return err == ERROR_ALREADY_EXISTS ? CopyLock::Another : CopyLock::Ours;
    // Made by a copy at another integrity level (run as administrator, say):
    // it runs all the same, and is none the less the one copy.
    return err == ERROR_ACCESS_DENIED ? CopyLock::Another : CopyLock::NotMade;
}

bool Win32SingleCopy::WaitForLock(unsigned ms) {
    if (mutex_) {
        const DWORD r = WaitForSingleObject(mutex_.get(), ms);
        return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    }
    // No handle to wait on: once the running copy has ended, the lock can be
    // made anew, and then it is ours.
    Sleep(ms);
    return TakeLock() == CopyLock::Ours;
}

HandOver Win32SingleCopy::HandOverToRunningCopy(unsigned ms) {
    const HWND app = FindWindowW(kAppWindowClass, nullptr);
    if (!app) return HandOver::NoWindow;
    DWORD pid = 0;
    GetWindowThreadProcessId(app, &pid);
    // The player started this copy: the running one may take the foreground.
    if (pid) AllowSetForegroundWindow(pid);
    DWORD_PTR result = 0;
    // Sent, not posted: a copy that is hung or ending would take a posted
    // message and nothing would come up.
    if (SendMessageTimeoutW(app, RegisterWindowMessageW(kAnotherCopyMessage), 0, 0,
                            SMTO_BLOCK | SMTO_ABORTIFHUNG, ms, &result))
        return HandOver::Answered;
    return IsWindow(app) ? HandOver::NoAnswer : HandOver::NoWindow;
}

void Win32SingleCopy::TellNotAnswering() {
    win::ShowBox(
        L"Dealwarden は既に起動していますが、応答がありません。\r\n"
        L"しばらく待ってから、もう一度起動してください。",
        kAppTitle, MB_OK | MB_ICONWARNING);
}

std::uint64_t Win32SingleCopy::NowMs() {
    return GetTickCount64();
}

}  // namespace dw
