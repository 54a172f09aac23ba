#include "freecell/window_system_win.h"

#include <chrono>
#include <cstring>

#include "record/app_error.h"
#include "win/system_error_win.h"

namespace dw {
namespace {

using win::FromHwnd;
using win::ToHwnd;

[[noreturn]] void ThrowCannotOpenClipboard() {
    throw AppError(
        FormatMessageText(L"クリップボード %s を開けません", win::SystemErrorText(GetLastError())));
}

[[noreturn]] void ThrowOutOfResources() {
    throw AppError(L"システム リソース不足です");
}

}  // namespace

Win32WindowSystem::Win32WindowSystem()
    : clipboardOwner_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr)) {}

WindowHandle Win32WindowSystem::FindWindowByTitle(std::wstring_view title) {
    return FromHwnd(FindWindowW(nullptr, std::wstring(title).c_str()));
}

WindowHandle Win32WindowSystem::FindWindowByClass(std::wstring_view cls) {
    return FromHwnd(FindWindowW(std::wstring(cls).c_str(), nullptr));
}

WindowHandle Win32WindowSystem::FindChild(WindowHandle parent, std::wstring_view cls) {
    if (parent == kNoWindow) return kNoWindow;
    return FromHwnd(FindWindowExW(ToHwnd(parent), nullptr, std::wstring(cls).c_str(), nullptr));
}

void Win32WindowSystem::SetForeground(WindowHandle w) {
    SetForegroundWindow(ToHwnd(w));
}

void Win32WindowSystem::Post(WindowHandle w, const freecell::Message& m) {
    // A null window would make this a thread message to ourselves.
    if (w == kNoWindow) return;
    PostMessageW(ToHwnd(w), m.msg, m.wParam, m.lParam);
}

void Win32WindowSystem::BringToTop(WindowHandle w) {
    if (w != kNoWindow) BringWindowToTop(ToHwnd(w));
}

void Win32WindowSystem::Sleep(unsigned ms) {
    ::Sleep(ms);
}

bool Win32WindowSystem::Pause(unsigned ms) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The loop that ends the program must see it too.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) return true;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

void Win32WindowSystem::SetClipboardText(const std::wstring& text) {
    win::ClipboardOpening clip(clipboardOwner_.get());
    if (!clip.is_open()) ThrowCannotOpenClipboard();
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    win::UniqueGlobal mem(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!mem) ThrowOutOfResources();
    {
        win::GlobalLockGuard lock(mem.get());
        if (!lock.get()) ThrowOutOfResources();
        std::memcpy(lock.get(), text.c_str(), bytes);
    }
    if (!SetClipboardData(CF_UNICODETEXT, mem.get())) ThrowOutOfResources();
    mem.release();  // the clipboard owns it now
}

std::wstring Win32WindowSystem::GetClipboardText() {
    win::ClipboardOpening clip(clipboardOwner_.get());
    if (!clip.is_open()) ThrowCannotOpenClipboard();
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return {};
    win::GlobalLockGuard lock(data);
    if (!lock.get()) return {};
    const auto* chars = static_cast<const wchar_t*>(lock.get());
    const SIZE_T max = GlobalSize(data) / sizeof(wchar_t);
    SIZE_T n = 0;
    while (n < max && chars[n]) ++n;
    return std::wstring(chars, n);
}

}  // namespace dw
