#include "freecell/window_system_win.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iterator>

#include "record/app_error.h"
#include "win/system_error_win.h"

namespace dw {
namespace {

using win::FromHwnd;
using win::ToHwnd;

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
    // A FreeCell dialog comes up in front by itself; asking again costs a
    // round trip to the display server at every game for nothing.
    if (GetForegroundWindow() == ToHwnd(w)) return;
    SetForegroundWindow(ToHwnd(w));
}

void Win32WindowSystem::Post(WindowHandle w, const freecell::Message& m) {
    // A null window would make this a thread message to ourselves.
    if (w == kNoWindow) return;
    PostMessageW(ToHwnd(w), m.msg, m.wParam, m.lParam);
}

void Win32WindowSystem::BringToTop(WindowHandle w) {
    // A hidden window has no place on top to take (the start window is
    // hidden for the whole run), and the window system's work for it would
    // come just while FreeCell opens the dialog asked for.
    if (w != kNoWindow && IsWindowVisible(ToHwnd(w))) BringWindowToTop(ToHwnd(w));
}

bool Win32WindowSystem::IsEnabled(WindowHandle w) {
    return w != kNoWindow && IsWindowEnabled(ToHwnd(w));
}

bool Win32WindowSystem::IsVisible(WindowHandle w) {
    return w != kNoWindow && IsWindowVisible(ToHwnd(w));
}

bool Win32WindowSystem::InMenu(WindowHandle w) {
    if (w == kNoWindow) return false;
    const DWORD thread = GetWindowThreadProcessId(ToHwnd(w), nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return thread && GetGUIThreadInfo(thread, &info) &&
           (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE));
}

std::optional<std::wstring> Win32WindowSystem::GetText(WindowHandle w) {
    if (w == kNoWindow) return std::nullopt;
    // Asked, not read from our side: an edit of another process keeps its
    // text to itself. A field holds a few digits; longer text is no number.
    wchar_t buf[256] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(ToHwnd(w), WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf),
                             SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerMs, &copied))
        return std::nullopt;
    return std::wstring(buf, std::min<std::size_t>(copied, std::size(buf) - 1));
}

bool Win32WindowSystem::SetText(WindowHandle w, const std::wstring& text) {
    if (w == kNoWindow) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(ToHwnd(w), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerMs, &result) &&
           result == TRUE;
}

void Win32WindowSystem::Sleep(unsigned ms) {
    ::Sleep(ms);
}

bool Win32WindowSystem::HandleWhatCameIn() {
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
    return true;
}

bool Win32WindowSystem::Look(unsigned ms) {
    if (!HandleWhatCameIn()) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return HandleWhatCameIn();
}

bool Win32WindowSystem::Pause(unsigned ms) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (!HandleWhatCameIn()) return false;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) return true;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

std::uint64_t Win32WindowSystem::NowMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

ClipboardTry Win32WindowSystem::PutClipboardText(const std::wstring& text) {
    ClipboardTry t;
    win::ClipboardOpening clip(clipboardOwner_.get());
    // Another program holding it (a clipboard history, a remote desktop)
    // lets go within moments: the caller tries again.
    if (!clip.is_open() || !EmptyClipboard()) {
        t.busyReason = win::SystemErrorText(GetLastError());
        return t;
    }
    t.opened = true;
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

    // Read back before letting go: what FreeCell will paste, unless another
    // program puts something else there meanwhile.
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return t;
    win::GlobalLockGuard lock(data);
    if (!lock.get()) return t;
    const auto* chars = static_cast<const wchar_t*>(lock.get());
    const SIZE_T max = GlobalSize(data) / sizeof(wchar_t);
    SIZE_T n = 0;
    while (n < max && chars[n]) ++n;
    t.readBack.assign(chars, n);
    return t;
}

}  // namespace dw
