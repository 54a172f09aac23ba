#pragma once
// A window system made of scripted windows that records every call, so a
// test can assert exactly what was done, in what order, to whom. Posted
// messages are recorded by the names the contract gives them.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "freecell/contract.h"
#include "freecell/window_system.h"
#include "record/app_error.h"

namespace dw::testing {

// "Enter", "Paste", "F3 down", "Undo 3"…, or the numbers of anything else.
inline std::wstring Describe(const freecell::Message& m) {
    using namespace freecell;
    const std::pair<Message, const wchar_t*> named[] = {
        {kPaste, L"Paste"},
        {kEnter, L"Enter"},
        {kClose, L"Close"},
        {kMinimize, L"Minimize"},
        {kRestore, L"Restore"},
        {OpenSelectGame()[0], L"F3 down"},
        {OpenSelectGame()[1], L"F3 up"},
    };
    for (const auto& [msg, name] : named)
        if (m == msg) return name;
    for (std::size_t i = 0; i < Undo().size(); ++i)
        if (m == Undo()[i]) return L"Undo " + std::to_wstring(i + 1);
    return L"msg " + std::to_wstring(m.msg) + L" " + std::to_wstring(m.wParam) + L" " +
           std::to_wstring(m.lParam);
}

// The log line of a post, as FakeWindowSystem writes it.
inline std::wstring Posted(WindowHandle w, const freecell::Message& m) {
    return L"Post " + std::to_wstring(w) + L" " + Describe(m);
}

class FakeWindowSystem : public IWindowSystem {
public:
    // The handles successive probes of a title return; past the end, none.
    void Script(const std::wstring& title, std::vector<WindowHandle> handles) {
        probes_[title] = std::move(handles);
        probeIndex_[title] = 0;
        sticky_[title] = false;
    }
    // A window of this title that never goes.
    void Stays(const std::wstring& title, WindowHandle h) {
        probes_[title] = {h};
        probeIndex_[title] = 0;
        sticky_[title] = true;
    }
    std::map<std::wstring, WindowHandle> classes;  // class -> top-level window
    std::map<std::pair<WindowHandle, std::wstring>, WindowHandle> children;
    // What the clipboard returns when read; unset = what was last put there.
    std::function<std::wstring()> clipboardReadBack;
    bool clipboardLocked = false;
    // Runs inside every Pause, as the message loop would run what came in.
    std::function<void(unsigned)> duringPause;
    // Pause answers false (the program is ending) from this many pauses on.
    int pausesBeforeQuit = -1;
    std::vector<std::wstring> calls;

    WindowHandle FindWindowByTitle(std::wstring_view title) override {
        auto& seq = probes_[std::wstring(title)];
        auto& next = probeIndex_[std::wstring(title)];
        const WindowHandle h = next < seq.size()              ? seq[next]
                               : sticky_[std::wstring(title)] ? seq.back()
                                                              : kNoWindow;
        ++next;
        calls.push_back(L"FindTitle " + std::wstring(title) + L" -> " + std::to_wstring(h));
        return h;
    }
    WindowHandle FindWindowByClass(std::wstring_view cls) override {
        auto it = classes.find(std::wstring(cls));
        const WindowHandle h = it == classes.end() ? kNoWindow : it->second;
        calls.push_back(L"FindClass " + std::wstring(cls) + L" -> " + std::to_wstring(h));
        return h;
    }
    WindowHandle FindChild(WindowHandle parent, std::wstring_view cls) override {
        auto it = children.find({parent, std::wstring(cls)});
        return it == children.end() ? kNoWindow : it->second;
    }
    void SetForeground(WindowHandle w) override {
        calls.push_back(L"Foreground " + std::to_wstring(w));
    }
    void Post(WindowHandle w, const freecell::Message& m) override {
        calls.push_back(Posted(w, m));
    }
    void BringToTop(WindowHandle w) override {
        calls.push_back(L"BringToTop " + std::to_wstring(w));
    }
    void Sleep(unsigned ms) override { calls.push_back(L"Sleep " + std::to_wstring(ms)); }
    bool Pause(unsigned ms) override {
        calls.push_back(L"Pause " + std::to_wstring(ms));
        ++pauses;
        if (duringPause) duringPause(ms);
        return pausesBeforeQuit < 0 || pauses < pausesBeforeQuit;
    }
    void SetClipboardText(const std::wstring& text) override {
        if (clipboardLocked)
            throw AppError(L"クリップボード アクセスが拒否されました を開けません");
        clipboard_ = text;
        calls.push_back(L"SetClipboard " + text);
    }
    std::wstring GetClipboardText() override {
        calls.push_back(L"GetClipboard");
        return clipboardReadBack ? clipboardReadBack() : clipboard_;
    }

    int pauses = 0;

private:
    std::map<std::wstring, std::vector<WindowHandle>> probes_;
    std::map<std::wstring, size_t> probeIndex_;
    std::map<std::wstring, bool> sticky_;
    std::wstring clipboard_;
};

}  // namespace dw::testing
