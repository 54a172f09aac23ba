#pragma once
// A window system made of scripted windows that records every call, so a
// test can assert exactly what the watcher did, in what order, to whom.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "freecell/window_system.h"
#include "record/app_error.h"

namespace dw::testing {

class FakeWindowSystem : public IWindowSystem {
public:
    // The handles successive probes of a title return; past the end, none.
    void Script(const std::wstring& title, std::vector<WindowHandle> handles) {
        probes_[title] = std::move(handles);
        probeIndex_[title] = 0;
    }
    std::map<std::wstring, WindowHandle> classes;  // class -> top-level window
    std::map<std::pair<WindowHandle, std::wstring>, WindowHandle> children;
    // What the clipboard returns when read; unset = what was last put there.
    std::function<std::wstring()> clipboardReadBack;
    bool clipboardLocked = false;
    std::vector<std::wstring> calls;

    WindowHandle FindWindowByTitle(std::wstring_view title) override {
        auto& seq = probes_[std::wstring(title)];
        auto& next = probeIndex_[std::wstring(title)];
        const WindowHandle h = next < seq.size() ? seq[next] : kNoWindow;
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
        wchar_t buf[80];
        std::swprintf(buf, 80, L"Post %llu %#x %#llx %lld", static_cast<unsigned long long>(w),
                      m.msg, static_cast<unsigned long long>(m.wParam),
                      static_cast<long long>(m.lParam));
        calls.push_back(buf);
    }
    void BringToTop(WindowHandle w) override {
        calls.push_back(L"BringToTop " + std::to_wstring(w));
    }
    void Sleep(unsigned ms) override { calls.push_back(L"Sleep " + std::to_wstring(ms)); }
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

private:
    std::map<std::wstring, std::vector<WindowHandle>> probes_;
    std::map<std::wstring, size_t> probeIndex_;
    std::wstring clipboard_;
};

}  // namespace dw::testing
