#pragma once
// Recording fakes of what a run is given besides the window system: timers
// on a clock the test moves, FreeCell's window events fired by hand, message
// boxes answered from a script, the windows, settings files in memory and
// the writer that saves into them.
// Each writes what it is asked into one shared log, so a test can assert the
// order of everything a run did.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "freecell/freecell_events.h"
#include "record/app_error.h"
#include "record/profile.h"
#include "record/settings.h"
#include "run/message_boxes.h"
#include "run/play_run.h"
#include "run/record_saves.h"
#include "run/timers.h"
#include "tests/fakes/coarse_clock.h"
#include "tests/fakes/recording_requests.h"

namespace dw::testing {

// Timers on a fake clock: nothing fires until the test moves time on. With
// tickMs set, a timer fires only on the clock's ticks, as Windows' do.
class FakeTimers : public IRunTimers {
public:
    explicit FakeTimers(std::vector<std::wstring>& log) : log_(log) {}
    std::function<void(RunTimer)> fire;  // what a timer that fires calls
    // What the message loop delivers between two timers (posted messages).
    std::function<void()> afterEach;
    unsigned tickMs = 0;

    void Start(RunTimer t, unsigned periodMs) override {
        auto& s = slots_[t];
        s.running = true;
        // 0: once, at the next look (the next Advance, even of 0 ms).
        s.once = periodMs == 0;
        s.period = s.once ? 0 : OnTicks(periodMs, tickMs);
        s.due = now_ + s.period;
        if (t == RunTimer::Timer1) log_.push_back(L"Start Timer1 " + std::to_wstring(periodMs));
    }
    void Stop(RunTimer t) override { slots_[t].running = false; }
    std::uint64_t NowMs() override { return now_; }

    bool Running(RunTimer t) { return slots_[t].running; }
    // The next moment t fires, if it runs.
    std::optional<std::uint64_t> Due(RunTimer t) {
        const auto& s = slots_[t];
        return s.running ? std::optional<std::uint64_t>(s.due) : std::nullopt;
    }
    // Moves the clock on by ms without firing anything: time spent inside a
    // handler; what came due fires at the next Advance.
    void Skip(std::uint64_t ms) { now_ += ms; }
    // Moves the clock on by ms, firing every timer that comes due, in order.
    void Advance(std::uint64_t ms) {
        const std::uint64_t end = now_ + ms;
        for (;;) {
            std::optional<RunTimer> next;
            for (auto& [t, s] : slots_)
                if (s.running && s.due <= end && (!next || s.due < slots_[*next].due)) next = t;
            if (!next) break;
            auto& s = slots_[*next];
            now_ = std::max(now_, s.due);
            s.due = now_ + s.period;
            if (s.once) s.running = false;
            if (fire) fire(*next);
            if (afterEach) afterEach();
        }
        now_ = std::max(now_, end);  // a timer's handler may have moved it on itself
    }

private:
    struct Slot {
        bool running = false;
        bool once = false;
        unsigned period = 0;
        std::uint64_t due = 0;
    };
    std::vector<std::wstring>& log_;
    std::map<RunTimer, Slot> slots_;
    std::uint64_t now_ = 1000;
};

class FakeEvents : public IFreeCellEvents {
public:
    explicit FakeEvents(std::vector<std::wstring>& log) : log_(log) {}
    bool available = true;

    bool Subscribe(WindowHandle fcHnd, std::function<void()> onEvent) override {
        log_.push_back(L"Subscribe " + std::to_wstring(fcHnd));
        if (!available || fcHnd == kNoWindow) return false;
        onEvent_ = std::move(onEvent);
        return true;
    }
    bool SubscribeMoves(WindowHandle fcHnd, std::function<void()> onMoved) override {
        log_.push_back(L"SubscribeMoves " + std::to_wstring(fcHnd));
        if (!available || fcHnd == kNoWindow) return false;
        onMoved_ = std::move(onMoved);
        return true;
    }
    void Unsubscribe() override {
        if (onEvent_) log_.push_back(L"Unsubscribe");
        onEvent_ = nullptr;
        onMoved_ = nullptr;
    }
    bool Subscribed() const { return static_cast<bool>(onEvent_); }
    // One window event of FreeCell's, as the system would deliver it.
    void Fire() {
        if (onEvent_) onEvent_();
    }
    // FreeCell's main window moved, was minimized or restored.
    void FireMove() {
        if (onMoved_) onMoved_();
    }

private:
    std::vector<std::wstring>& log_;
    std::function<void()> onEvent_, onMoved_;
};

class FakeBoxes : public IMessageBoxes {
public:
    explicit FakeBoxes(std::vector<std::wstring>& log) : log_(log) {}
    std::deque<bool> answers;         // for AskYesNo, in order; none left: No
    std::function<void()> whileOpen;  // what happens beneath an open box

    void ShowError(const std::wstring& message) override {
        log_.push_back(L"Error " + message);
        if (whileOpen) whileOpen();
    }
    bool AskYesNo(const std::wstring& text) override {
        log_.push_back(L"Ask " + text);
        if (whileOpen) whileOpen();
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

private:
    std::vector<std::wstring>& log_;
};

class FakeView : public RecordsScoreRequests<IRunView> {
public:
    using RecordsScoreRequests::RecordsScoreRequests;
    bool ended = false;

    void SetStartCaption(const std::wstring& c) override { log_.push_back(L"Caption " + c); }
    void HideStartWindow() override { log_.push_back(L"HideStartWindow"); }
    void ShowPlayWindows() override { log_.push_back(L"ShowPlayWindows"); }
    void EndProgram() override {
        log_.push_back(L"EndProgram");
        ended = true;
    }
};

// Settings files in memory: section -> key -> value per path. A save writes
// into its copy, then puts the copy in the file's place, as on disk.
class MemoryProfileFiles : public ProfileFiles {
public:
    using Values = std::map<std::wstring, std::map<std::wstring, std::wstring>>;
    explicit MemoryProfileFiles(std::vector<std::wstring>& log) : log_(log) {}
    std::map<std::wstring, Values> files;
    bool blocked = false;                  // the file cannot be written
    std::optional<std::wstring> unusable;  // why the path cannot be used at all
    int saves = 0;                         // copies put in a file's place

    std::wstring ReadValue(const std::wstring& file, const std::wstring& section,
                           const std::wstring& key) override {
        ++reads;
        const auto f = files.find(file);
        if (f == files.end()) return {};
        const auto s = f->second.find(section);
        if (s == f->second.end()) return {};
        const auto k = s->second.find(key);
        return k == s->second.end() ? std::wstring() : k->second;
    }
    bool WriteValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) override {
        files[file][section][key] = value;
        return true;
    }
    bool StartCopy(const std::wstring& file, const std::wstring& copy) override {
        if (blocked) return false;
        files[copy] = files.count(file) ? files[file] : Values{};
        return true;
    }
    bool ReplaceWith(const std::wstring& copy, const std::wstring& file) override {
        if (blocked) return false;
        files[file] = files[copy];
        files.erase(copy);
        ++saves;
        log_.push_back(L"Saved");
        return true;
    }
    void Remove(const std::wstring& file) override { files.erase(file); }
    std::optional<std::wstring> Unusable(const std::wstring&) override { return unusable; }

    std::wstring Value(const std::wstring& file, const std::wstring& section,
                       const std::wstring& key) {
        return ReadValue(file, section, key);
    }
    int reads = 0;

private:
    std::vector<std::wstring>& log_;
};

// The writer, done on the test's thread: a snapshot handed over is written
// into the settings files at once (or when released, while holding), and
// the news of it is posted: it reaches the run when the test's message loop
// delivers it (Deliver, or a close's wait). The close's wait either sees the
// held writes through or lets its bound pass.
class FakeRecordSaves : public IRecordSaves {
public:
    explicit FakeRecordSaves(ProfileFiles& files) : files_(files) {}
    std::function<void()> written;       // the posted news, as the run takes it
    bool holding = false;                // writes wait for Release
    bool finishesInTheWait = true;       // false: a close's wait lets its bound pass
    std::function<void()> whileWaiting;  // what comes in while a close waits
    int handed = 0;
    std::vector<unsigned> waits;  // the bound of each close's wait

    void Hand(RecordSnapshot snapshot) override {
        ++handed;
        waiting_ = std::move(snapshot);
        if (!holding) WriteWaiting();
    }
    std::vector<WriteOutcome> TakeOutcomes() override { return std::exchange(outcomes_, {}); }
    bool WaitWritten(unsigned boundMs) override {
        waits.push_back(boundMs);
        if (whileWaiting) whileWaiting();
        if (holding && !finishesInTheWait) return false;
        WriteWaiting();
        Deliver();  // dispatched inside the wait
        return true;
    }

    bool Waiting() const { return waiting_.has_value(); }
    // The held write goes ahead.
    void Release() {
        holding = false;
        WriteWaiting();
    }
    // The message loop delivers the news posted since it last looked.
    void Deliver() {
        if (std::exchange(posted_, false) && written) written();
    }

private:
    void WriteWaiting() {
        if (!waiting_) return;
        WriteOutcome o{std::move(*waiting_), std::nullopt};
        waiting_.reset();
        try {
            IniWrite(files_, o.snapshot.iniFileName, o.snapshot.record, o.snapshot.renMode);
        } catch (const AppError& e) {
            o.failure = e.Message();
        }
        outcomes_.push_back(std::move(o));
        posted_ = true;
    }

    ProfileFiles& files_;
    std::optional<RecordSnapshot> waiting_;
    std::vector<WriteOutcome> outcomes_;
    bool posted_ = false;
};

}  // namespace dw::testing
