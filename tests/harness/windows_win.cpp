#include "harness/windows_win.h"

#include <thread>

namespace dw::harness {
namespace {

constexpr UINT kTextTimeoutMs = 5000;

bool Matches(HWND w, const WindowMatch& m) {
    if (m.visibleOnly && !IsWindowVisible(w)) return false;
    if (m.pid && OwnerProcess(w) != m.pid) return false;
    if (m.cls && ClassName(w) != *m.cls) return false;
    // GetWindowTextW reads a top-level caption without sending a message:
    // a hung program cannot stall the search.
    if (m.title) {
        wchar_t buf[512];
        const int n = GetWindowTextW(w, buf, 512);
        if (std::wstring(buf, n > 0 ? n : 0) != *m.title) return false;
    }
    return true;
}

struct TopLevelSearch {
    const WindowMatch& m;
    std::vector<HWND> found;
};

// Called by the system in its own convention (stdcall on x86): no lambda.
BOOL CALLBACK CollectMatching(HWND w, LPARAM p) {
    auto& search = *reinterpret_cast<TopLevelSearch*>(p);
    if (Matches(w, search.m)) search.found.push_back(w);
    return TRUE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& cond, milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (cond()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(kPollInterval);
    }
}

bool PumpUntil(const std::function<bool()>& cond, milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (cond()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(kPollInterval.count()),
                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

WindowMatch ByTitle(std::wstring title, DWORD pid) {
    WindowMatch m;
    m.title = std::move(title);
    m.pid = pid;
    return m;
}

WindowMatch ByClass(std::wstring cls, DWORD pid) {
    WindowMatch m;
    m.cls = std::move(cls);
    m.pid = pid;
    return m;
}

std::vector<HWND> FindTopLevels(const WindowMatch& m) {
    TopLevelSearch search{m, {}};
    EnumWindows(CollectMatching, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevel(const WindowMatch& m) {
    const auto all = FindTopLevels(m);
    return all.empty() ? nullptr : all.front();
}

HWND WaitForTopLevel(const WindowMatch& m, milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(m)) != nullptr; }, timeout);
    return found;
}

bool WaitForNoTopLevel(const WindowMatch& m, milliseconds timeout) {
    return WaitUntil([&] { return FindTopLevel(m) == nullptr; }, timeout);
}

bool WaitForGone(HWND w, milliseconds timeout) {
    return WaitUntil([&] { return !IsWindow(w); }, timeout);
}

HWND WaitForDialogReady(const WindowMatch& m, const std::wstring& childClass,
                        milliseconds timeout) {
    WindowMatch visible = m;
    visible.visibleOnly = true;
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindTopLevel(visible);
            return found && FindChild(found, childClass);
        },
        timeout);
    return found && FindChild(found, childClass) ? found : nullptr;
}

DWORD OwnerProcess(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid;
}

std::vector<HWND> TopLevelsOf(DWORD pid) {
    WindowMatch m;
    m.pid = pid;
    return pid ? FindTopLevels(m) : std::vector<HWND>{};
}

HWND FindChild(HWND parent, const std::wstring& cls, int index) {
    if (!parent) return nullptr;
    HWND w = nullptr;
    for (int i = 0; i <= index; ++i) {
        w = FindWindowExW(parent, w, cls.c_str(), nullptr);
        if (!w) return nullptr;
    }
    return w;
}

HWND FindChildByText(HWND parent, const std::wstring& cls, const std::wstring& text) {
    for (HWND w = FindWindowExW(parent, nullptr, cls.c_str(), nullptr); w;
         w = FindWindowExW(parent, w, cls.c_str(), nullptr)) {
        if (Text(w) == text) return w;
    }
    return nullptr;
}

HWND WaitForChild(HWND parent, const std::wstring& cls, milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindChild(parent, cls)) != nullptr; }, timeout);
    return found;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) out.push_back(w);
    return out;
}

std::wstring Text(HWND w) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &len))
        return {};
    std::wstring buf(len + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                             SMTO_ABORTIFHUNG, kTextTimeoutMs, &got))
        return {};
    buf.resize(got);
    return buf;
}

std::wstring ClassName(HWND w) {
    wchar_t buf[256];
    const int n = GetClassNameW(w, buf, 256);
    return std::wstring(buf, n > 0 ? n : 0);
}

RECT ScreenRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

LONG_PTR Style(HWND w) {
    return GetWindowLongPtrW(w, GWL_STYLE);
}
bool IsVisible(HWND w) {
    return IsWindowVisible(w) != FALSE;
}
bool IsMinimized(HWND w) {
    return IsIconic(w) != FALSE;
}
bool IsEnabled(HWND w) {
    return IsWindowEnabled(w) != FALSE;
}

bool Post(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    return w && PostMessageW(w, msg, wParam, lParam);
}

bool Post(HWND w, const freecell::Message& m) {
    return Post(w, m.msg, m.wParam, m.lParam);
}

bool PostAll(HWND w, const std::vector<freecell::Message>& seq) {
    for (const auto& m : seq)
        if (!Post(w, m)) return false;
    return true;
}

bool Click(HWND button) {
    return Post(button, BM_CLICK);
}

bool PostCommand(HWND w, WORD commandId) {
    return Post(w, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

}  // namespace dw::harness
