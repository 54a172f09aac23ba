#include "win/error_box_win.h"

#include <set>
#include <string_view>
#include <utility>

#include "record/app_error.h"
#include "win/handles_win.h"

namespace dw::win {
namespace {

std::function<HWND()>& Owner() {
    static std::function<HWND()> owner;
    return owner;
}

// MB_TOPMOST is not always honoured for a box that has an owner (Wine drops
// it): the box is put in front itself as it is set up, before it shows.
LRESULT CALLBACK PutBoxInFront(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_INITDIALOG) {
        wchar_t cls[16] = {};
        if (GetClassNameW(m->hwnd, cls, 16) && std::wstring_view(cls) == L"#32770")
            SetWindowPos(m->hwnd, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void SetBoxOwner(std::function<HWND()> owner) {
    Owner() = std::move(owner);
}

int ShowBox(const std::wstring& text, const wchar_t* title, UINT type) {
    const HWND owner = Owner() ? Owner()() : nullptr;
    // Topmost whatever the foreground rules allow us; with no owner, the
    // whole program waits for it, as an owner would.
    type |= MB_TOPMOST | MB_SETFOREGROUND | (owner ? MB_APPLMODAL : MB_TASKMODAL);
    const UniqueHook inFront(
        SetWindowsHookExW(WH_CALLWNDPROCRET, PutBoxInFront, nullptr, GetCurrentThreadId()));
    return MessageBoxW(owner, text.c_str(), title, type);
}

}  // namespace dw::win

namespace dw {

void ShowGeneralErrorBox(const std::wstring& message) {
    static std::set<std::wstring> open;
    const std::wstring text = ErrorBoxText(message);
    if (!open.insert(text).second) return;
    win::ShowBox(text, kAppTitle, MB_OK | MB_ICONERROR);
    open.erase(text);
}

}  // namespace dw
