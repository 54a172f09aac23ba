#pragma once
// A process system that answers from a script and records every call: what
// was looked up, started, waited for and shown when FreeCell is found or
// started.
#include <algorithm>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "freecell/process.h"
#include "tests/fakes/coarse_clock.h"

namespace dw::testing {

// What the fake system holds and answers.
struct Script {
    std::wstring windowsDir = L"C:\\Windows";
    std::vector<WindowHandle> lookups;  // successive class look-ups; past the end, none
    std::set<std::wstring> files;
    std::wstring startError;     // set: the start fails with this reason
    std::vector<IdleWait> idle;  // successive idle waits; past the end, the last one
    int exitedAfterWaits = -1;   // the process has ended once this many waits were made
    int answer = kIDOK;          // the player's answer to any message box
    unsigned tickMs = 0;         // waits on a coarse clock (kWindowsTickMs), or as asked (0)
};

class FakeProcessSystem;

class FakeStartedProcess : public IStartedProcess {
public:
    explicit FakeStartedProcess(FakeProcessSystem& sys) : sys_(sys) {}
    IdleWait WaitForInputIdle(unsigned timeoutMs) override;
    bool HasExited() override;

private:
    FakeProcessSystem& sys_;
};

class FakeProcessSystem : public IProcessSystem {
public:
    explicit FakeProcessSystem(Script s) : script(std::move(s)) {}

    Script script;
    std::vector<std::wstring> calls;
    unsigned elapsedMs = 0;  // time the launcher would have spent waiting and sleeping
    int waits = 0;

    void Record(std::wstring call) {
        // A launcher that never stops waiting fails here instead of hanging the test.
        if (calls.size() > 5000) throw std::runtime_error("runaway launcher");
        calls.push_back(std::move(call));
    }

    unsigned WindowsDirectoryLength() override {
        Record(L"WindowsDirectoryLength");
        return static_cast<unsigned>(script.windowsDir.size() + 1);
    }
    std::wstring WindowsDirectory(unsigned length) override {
        Record(L"WindowsDirectory " + std::to_wstring(length));
        return length > script.windowsDir.size() ? script.windowsDir : std::wstring();
    }
    bool FileExists(const std::wstring& path) override {
        const bool yes = script.files.count(path) != 0;
        Record(L"FileExists " + path + (yes ? L" -> yes" : L" -> no"));
        return yes;
    }
    StartedProcess StartProcess(const std::wstring& commandLine) override {
        Record(L"StartProcess " + commandLine);
        if (!script.startError.empty()) return {nullptr, script.startError};
        return {std::make_unique<FakeStartedProcess>(*this), {}};
    }
    void Sleep(unsigned ms) override {
        elapsedMs += OnTicks(ms, script.tickMs);
        Record(L"Sleep " + std::to_wstring(ms));
    }
    std::uint64_t NowMs() override { return elapsedMs; }
    WindowHandle FindWindowByClass(std::wstring_view cls) override {
        const WindowHandle h =
            lookup_ < script.lookups.size() ? script.lookups[lookup_] : kNoWindow;
        ++lookup_;
        Record(L"FindWindowByClass " + std::wstring(cls) + L" -> " + std::to_wstring(h));
        return h;
    }
    int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned type) override {
        Record(L"ShowMessage " + title + L" " + std::to_wstring(type) + L" " + text);
        return script.answer;
    }

private:
    size_t lookup_ = 0;
};

inline IdleWait FakeStartedProcess::WaitForInputIdle(unsigned timeoutMs) {
    const auto& idle = sys_.script.idle;
    const IdleWait r =
        idle.empty() ? IdleWait::Timeout : idle[std::min<size_t>(sys_.waits, idle.size() - 1)];
    ++sys_.waits;
    if (r == IdleWait::Timeout) sys_.elapsedMs += OnTicks(timeoutMs, sys_.script.tickMs);
    static const wchar_t* const names[] = {L"idle", L"timeout", L"failed"};
    sys_.Record(L"WaitForInputIdle " + std::to_wstring(timeoutMs) + L" -> " +
                names[static_cast<int>(r)]);
    return r;
}

inline bool FakeStartedProcess::HasExited() {
    const bool yes =
        sys_.script.exitedAfterWaits >= 0 && sys_.waits >= sys_.script.exitedAfterWaits;
    sys_.Record(yes ? L"HasExited -> yes" : L"HasExited -> no");
    return yes;
}

}  // namespace dw::testing
