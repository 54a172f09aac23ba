#pragma once
// A window system made of scripted windows that records every call, so a
// test can assert exactly what was done, in what order, to whom. Posted
// messages are recorded by the names the contract gives them.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "freecell/contract.h"
#include "freecell/window_system.h"
#include "tests/fakes/coarse_clock.h"

namespace dw::testing {

// "Enter", "Paste", "F3 down", "Undo 3"…, or the numbers of anything else.
inline std::wstring Describe(const freecell::Message& m) {
    using namespace freecell;
    const std::pair<Message, const wchar_t*> named[] = {
        {kPaste, L"Paste"},
        {kSelectAll, L"SelectAll"},
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

// A window system made of scripted windows. Its clock moves only in its
// pauses, by what was asked or (tickMs) in whole Windows clock ticks. Posted
// messages to an "Edit" field take effect at the next pause, as FreeCell
// takes them while we wait: a select-all, then a paste that replaces the
// selection with the clipboard's text (or adds it where nothing is selected),
// unless FreeCell's paste finds the clipboard busy.
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
    // Windows that take no input (FreeCell under a dialog of its own), and
    // whether FreeCell's menu is open.
    std::map<WindowHandle, bool> disabled;
    bool menuOpen = false;
    // Windows not shown yet (a dialog whose thread has not come to its queue).
    std::map<WindowHandle, bool> hidden;
    // What an "Edit" field holds; FreeCell starts it with some other deal.
    std::map<WindowHandle, std::wstring> fieldText;
    // false: FreeCell's paste finds the clipboard held by another program.
    std::function<bool()> pasteFindsClipboard;
    bool fieldsAnswer = true;  // GetText / SetText reach the field's thread
    bool setTextWorks = true;  // the field takes a text set directly
    // true while another program holds the clipboard: our opening fails.
    std::function<bool()> clipboardBusy;
    // What the clipboard holds right after a put; unset: what was put.
    std::function<std::wstring()> clipboardReadBack;
    // Sees every post as it is made (when it was made: now).
    std::function<void(WindowHandle, const freecell::Message&)> onPost;
    // Runs inside every Pause, as the message loop would run what came in.
    std::function<void(unsigned)> duringPause;
    // Pause answers false (the program is ending) from this many pauses on.
    int pausesBeforeQuit = -1;
    unsigned tickMs = 0;  // pauses last whole clock ticks of this length (0: as asked)
    std::uint64_t now = 0;
    // Another fake's clock to share (the run's timers), moved on by pauses.
    std::function<std::uint64_t()> clock;
    std::function<void(unsigned)> moveClock;
    std::vector<std::wstring> calls;
    int pauses = 0;

    WindowHandle FindWindowByTitle(std::wstring_view title) override {
        auto& seq = probes_[std::wstring(title)];
        auto& next = probeIndex_[std::wstring(title)];
        const WindowHandle h = next < seq.size()              ? seq[next]
                               : sticky_[std::wstring(title)] ? seq.back()
                                                              : kNoWindow;
        ++next;
        Log(L"FindTitle " + std::wstring(title) + L" -> " + std::to_wstring(h));
        return h;
    }
    WindowHandle FindWindowByClass(std::wstring_view cls) override {
        auto it = classes.find(std::wstring(cls));
        const WindowHandle h = it == classes.end() ? kNoWindow : it->second;
        Log(L"FindClass " + std::wstring(cls) + L" -> " + std::to_wstring(h));
        return h;
    }
    WindowHandle FindChild(WindowHandle parent, std::wstring_view cls) override {
        auto it = children.find({parent, std::wstring(cls)});
        return it == children.end() ? kNoWindow : it->second;
    }
    void SetForeground(WindowHandle w) override { Log(L"Foreground " + std::to_wstring(w)); }
    void Post(WindowHandle w, const freecell::Message& m) override {
        Log(Posted(w, m));
        if (onPost) onPost(w, m);
        if (m == freecell::kSelectAll || m == freecell::kPaste) pending_.emplace_back(w, m);
    }
    void BringToTop(WindowHandle w) override { Log(L"BringToTop " + std::to_wstring(w)); }
    bool IsEnabled(WindowHandle w) override { return w != kNoWindow && !disabled[w]; }
    bool InMenu(WindowHandle w) override { return w != kNoWindow && menuOpen; }
    bool IsVisible(WindowHandle w) override { return w != kNoWindow && !hidden[w]; }
    std::optional<std::wstring> GetText(WindowHandle w) override {
        if (!fieldsAnswer) {
            Log(L"GetText " + std::to_wstring(w) + L" -> no answer");
            return std::nullopt;
        }
        Log(L"GetText " + std::to_wstring(w) + L" -> " + fieldText[w]);
        return fieldText[w];
    }
    bool SetText(WindowHandle w, const std::wstring& text) override {
        Log(L"SetText " + std::to_wstring(w) + L" " + text);
        if (!fieldsAnswer || !setTextWorks) return false;
        fieldText[w] = text;
        selected_[w] = false;
        return true;
    }
    void Sleep(unsigned ms) override {
        Log(L"Sleep " + std::to_wstring(ms));
        Wait(ms);
    }
    bool Pause(unsigned ms) override { return Paused(L"Pause ", ms); }
    // Nothing comes in early here: a look lasts as long as a pause.
    bool Look(unsigned ms) override { return Paused(L"Look ", ms); }
    std::uint64_t NowMs() override { return clock ? clock() : now; }
    ClipboardTry PutClipboardText(const std::wstring& text) override {
        if (clipboardBusy && clipboardBusy()) {
            Log(L"SetClipboard busy");
            return {.opened = false, .readBack = {}, .busyReason = L"アクセスが拒否されました"};
        }
        Log(L"SetClipboard " + text);
        clipboard_ = clipboardReadBack ? clipboardReadBack() : text;
        return {.opened = true, .readBack = clipboard_, .busyReason = {}};
    }

    std::wstring Clipboard() const { return clipboard_; }

private:
    // A pause: time passes, FreeCell takes what was posted, and whatever
    // the test lets happen meanwhile happens.
    bool Paused(const wchar_t* what, unsigned ms) {
        Log(what + std::to_wstring(ms));
        ++pauses;
        Wait(ms);
        TakePosted();
        if (duringPause) duringPause(ms);
        return pausesBeforeQuit < 0 || pauses < pausesBeforeQuit;
    }
    void Wait(unsigned ms) {
        const unsigned lasts = OnTicks(ms, tickMs);
        if (moveClock)
            moveClock(lasts);
        else
            now += lasts;
    }
    void Log(std::wstring call) {
        // A wait that never ends fails here instead of hanging the test.
        if (calls.size() > 200000) throw std::runtime_error("runaway watcher");
        calls.push_back(std::move(call));
    }
    // FreeCell takes what was posted to its fields while we pause.
    void TakePosted() {
        for (const auto& [w, m] : std::exchange(pending_, {})) {
            if (m == freecell::kSelectAll) {
                selected_[w] = true;
            } else if (!pasteFindsClipboard || pasteFindsClipboard()) {
                fieldText[w] = selected_[w] ? clipboard_ : fieldText[w] + clipboard_;
                selected_[w] = false;
            }
        }
    }

    std::map<std::wstring, std::vector<WindowHandle>> probes_;
    std::map<std::wstring, size_t> probeIndex_;
    std::map<std::wstring, bool> sticky_;
    std::wstring clipboard_;
    std::vector<std::pair<WindowHandle, freecell::Message>> pending_;
    std::map<WindowHandle, bool> selected_;
};

}  // namespace dw::testing
