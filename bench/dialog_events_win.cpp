#include "bench/dialog_events_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench/measure_win.h"
#include "bench/stats.h"
#include "freecell/contract.h"
#include "harness/files_win.h"
#include "harness/practice_win.h"
#include "harness/windows_win.h"
#include "win/handles_win.h"

namespace dw::bench {
namespace {

using namespace dw::harness;

// A burst is taken to be over after this long without an event; the gaps
// the table reports say whether that is long enough.
constexpr double kQuietMs = 300;
constexpr double kBurstCapMs = 5000;
constexpr double kDialogTimeoutMs = 10000;

struct WinEvent {
    double ms;     // NowMs when the callback ran here
    double lagMs;  // GetTickCount then, less the event's own time stamp
    DWORD event;
    LONG object;
    std::wstring cls;  // of the window the event is about; "?" once it is gone
};

std::string EventName(DWORD e) {
    static const std::map<DWORD, const char*> names = {
        {EVENT_SYSTEM_SOUND, "SYSTEM_SOUND"},
        {EVENT_SYSTEM_ALERT, "SYSTEM_ALERT"},
        {EVENT_SYSTEM_FOREGROUND, "SYSTEM_FOREGROUND"},
        {EVENT_SYSTEM_MENUSTART, "SYSTEM_MENUSTART"},
        {EVENT_SYSTEM_MENUEND, "SYSTEM_MENUEND"},
        {EVENT_SYSTEM_MENUPOPUPSTART, "SYSTEM_MENUPOPUPSTART"},
        {EVENT_SYSTEM_MENUPOPUPEND, "SYSTEM_MENUPOPUPEND"},
        {EVENT_SYSTEM_CAPTURESTART, "SYSTEM_CAPTURESTART"},
        {EVENT_SYSTEM_CAPTUREEND, "SYSTEM_CAPTUREEND"},
        {EVENT_SYSTEM_MOVESIZESTART, "SYSTEM_MOVESIZESTART"},
        {EVENT_SYSTEM_MOVESIZEEND, "SYSTEM_MOVESIZEEND"},
        {EVENT_SYSTEM_DIALOGSTART, "SYSTEM_DIALOGSTART"},
        {EVENT_SYSTEM_DIALOGEND, "SYSTEM_DIALOGEND"},
        {EVENT_SYSTEM_MINIMIZESTART, "SYSTEM_MINIMIZESTART"},
        {EVENT_SYSTEM_MINIMIZEEND, "SYSTEM_MINIMIZEEND"},
        {EVENT_OBJECT_CREATE, "OBJECT_CREATE"},
        {EVENT_OBJECT_DESTROY, "OBJECT_DESTROY"},
        {EVENT_OBJECT_SHOW, "OBJECT_SHOW"},
        {EVENT_OBJECT_HIDE, "OBJECT_HIDE"},
        {EVENT_OBJECT_REORDER, "OBJECT_REORDER"},
        {EVENT_OBJECT_FOCUS, "OBJECT_FOCUS"},
        {EVENT_OBJECT_SELECTION, "OBJECT_SELECTION"},
        {EVENT_OBJECT_STATECHANGE, "OBJECT_STATECHANGE"},
        {EVENT_OBJECT_LOCATIONCHANGE, "OBJECT_LOCATIONCHANGE"},
        {EVENT_OBJECT_NAMECHANGE, "OBJECT_NAMECHANGE"},
        {EVENT_OBJECT_DESCRIPTIONCHANGE, "OBJECT_DESCRIPTIONCHANGE"},
        {EVENT_OBJECT_VALUECHANGE, "OBJECT_VALUECHANGE"},
        {EVENT_OBJECT_PARENTCHANGE, "OBJECT_PARENTCHANGE"},
        {EVENT_OBJECT_DEFACTIONCHANGE, "OBJECT_DEFACTIONCHANGE"},
    };
    if (auto it = names.find(e); it != names.end()) return it->second;
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04lX", static_cast<unsigned long>(e));
    return buf;
}

std::string ObjectName(LONG o) {
    switch (o) {
        case OBJID_CLIENT:
            return "client";
        case OBJID_CARET:
            return "caret";
        case OBJID_CURSOR:
            return "cursor";
        case OBJID_VSCROLL:
            return "vscroll";
        case OBJID_HSCROLL:
            return "hscroll";
        case OBJID_MENU:
            return "menu";
        case OBJID_SYSMENU:
            return "sysmenu";
        case OBJID_TITLEBAR:
            return "titlebar";
    }
    return "object " + std::to_string(o);
}

std::string Ascii(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return s;
}

// What the counts are kept by: the event and the class of its window.
std::string Key(const WinEvent& e) {
    std::string k = EventName(e.event) + " " + Ascii(e.cls);
    if (e.object != OBJID_WINDOW) {
        k += '/';
        k += ObjectName(e.object);
    }
    return k;
}

// The window events of one process, as this thread receives them while it
// pumps its messages (out-of-context callbacks arrive through the queue).
class EventRecorder {
public:
    explicit EventRecorder(DWORD pid) {
        active_ = this;
        hook_ = win::UniqueWinEventHook(SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &Callback,
                                                        pid, 0, WINEVENT_OUTOFCONTEXT));
    }
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;
    ~EventRecorder() {
        hook_ = win::UniqueWinEventHook();
        active_ = nullptr;
    }
    bool Hooked() const { return static_cast<bool>(hook_); }

    // Pumps until cond holds, checked about once a millisecond; the time it
    // was first seen to hold, or nullopt after timeoutMs.
    std::optional<double> PumpUntil(const std::function<bool()>& cond, double timeoutMs) {
        const double end = NowMs() + timeoutMs;
        for (;;) {
            Pump();
            if (cond()) return NowMs();
            if (NowMs() >= end) return std::nullopt;
            MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }
    // Until kQuietMs pass with no event, counted from now or the last event.
    void PumpUntilQuiet() {
        const double start = NowMs();
        PumpUntil(
            [&] {
                const double last = events_.empty() ? start : std::max(start, events_.back().ms);
                return NowMs() - last >= kQuietMs;
            },
            kBurstCapMs);
    }
    std::vector<WinEvent> Take() { return std::exchange(events_, {}); }

private:
    static void CALLBACK Callback(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG, DWORD,
                                  DWORD time) {
        if (!active_) return;
        const double now = NowMs();
        const auto lag = static_cast<LONG>(GetTickCount() - time);
        wchar_t cls[64] = L"-";
        if (hwnd && !GetClassNameW(hwnd, cls, 64)) lstrcpyW(cls, L"?");
        active_->events_.push_back({now, static_cast<double>(lag), event, object, cls});
    }
    static void Pump() {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }

    static inline EventRecorder* active_ = nullptr;
    win::UniqueWinEventHook hook_;
    std::vector<WinEvent> events_;
};

// A top-level window of the process by title, visible or not yet.
HWND DialogOf(const std::wstring& title, DWORD pid) {
    for (HWND w = FindWindowExW(nullptr, nullptr, nullptr, title.c_str()); w;
         w = FindWindowExW(nullptr, w, nullptr, title.c_str())) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}

struct DialogKind {
    std::string name;  // as the practice FreeCell logs it
    std::wstring title;
    bool hasEdit;
    std::function<void(HWND main)> open;
    // As a player who does not want it would; the log line that follows.
    std::function<void(HWND dialog)> close;
    std::wstring closedLine;
};

void Cancel(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

struct Opening {
    double postedMs = 0;
    std::vector<WinEvent> events;  // the burst after the request
    // NowMs when seen; 0: not yet.
    double readyMs = 0;             // the controls all there
    double visibleMs = 0;           // IsWindowVisible
    std::optional<double> shownMs;  // "shown <name>" in the practice clock
    std::vector<WinEvent> closing;
};

std::optional<double> NthTime(const std::vector<TimedEvent>& times, const std::wstring& line,
                              std::size_t n) {
    for (const auto& e : times)
        if (e.event == line && n-- == 0) return e.ms;
    return std::nullopt;
}

std::string MedianMax(const std::vector<double>& v) {
    if (v.empty()) return "-";
    const Summary s = Summarize(v);
    return "median " + Millis(s.median) + ", max " + Millis(s.max);
}

std::string MedianMaxCount(const std::vector<double>& v) {
    if (v.empty()) return "-";
    const Summary s = Summarize(v);
    return "median " + Fixed(s.median, 0) + ", max " + Fixed(s.max, 0);
}

double Gap(const std::vector<WinEvent>& events) {
    double gap = 0;
    for (std::size_t i = 1; i < events.size(); ++i)
        gap = std::max(gap, events[i].ms - events[i - 1].ms);
    return gap;
}

void Report(const DialogKind& kind, const std::vector<Opening>& openings, Table& t) {
    const std::string shown = "\"shown " + kind.name + "\"";
    std::vector<double> counts, toFirst, span, gap, ready, visible, toShown, readyAfterLast,
        closeCounts, closeSpan, lag;
    std::vector<std::string> order;  // keys as first met
    std::map<std::string, std::vector<double>> perKey;
    for (std::size_t i = 0; i < openings.size(); ++i) {
        const Opening& o = openings[i];
        counts.push_back(static_cast<double>(o.events.size()));
        closeCounts.push_back(static_cast<double>(o.closing.size()));
        for (const auto& e : o.events) {
            const std::string k = Key(e);
            auto& c = perKey[k];
            if (c.empty()) order.push_back(k);
            c.resize(openings.size(), 0);
            c[i] += 1;
            lag.push_back(e.lagMs);
        }
        if (!o.closing.empty()) closeSpan.push_back(o.closing.back().ms - o.closing.front().ms);
        if (o.events.empty()) continue;
        const double first = o.events.front().ms, last = o.events.back().ms;
        toFirst.push_back(first - o.postedMs);
        span.push_back(last - first);
        gap.push_back(Gap(o.events));
        ready.push_back(o.readyMs - first);
        visible.push_back(o.visibleMs - first);
        readyAfterLast.push_back(o.readyMs - last);
        if (o.shownMs) toShown.push_back(*o.shownMs - first);
    }
    const std::string n = std::to_string(openings.size());
    const std::string controls =
        kind.hasEdit ? "Edit and first Button exist" : "first Button exists";
    t.Add({kind.name + " dialog opening: window events (" + n + " openings)",
           MedianMaxCount(counts), "", ""});
    if (toFirst.empty()) {
        t.Note(kind.name + " dialog: no window event arrived in " + n + " openings.");
        return;
    }
    t.Add({"  request posted -> first event", MedianMax(toFirst), "", ""});
    t.Add({"  first -> last event of the burst", MedianMax(span), "", ""});
    t.Add({"  largest gap between two events of the burst", MedianMax(gap),
           "burst ends after " + Fixed(kQuietMs, 0) + " ms quiet", ""});
    t.Add({"  first event -> " + controls, MedianMax(ready), "", ""});
    t.Add({"  first event -> " + shown + " (practice clock)", MedianMax(toShown), "", ""});
    t.Add({"  first event -> dialog visible (IsWindowVisible)", MedianMax(visible), "", ""});
    t.Add({"  closing: window events", MedianMaxCount(closeCounts),
           "first -> last " + MedianMax(closeSpan), ""});
    t.Add({"  delivery lag, arrival - event time stamp", MedianMax(lag), "", ""});

    const auto late =
        std::count_if(readyAfterLast.begin(), readyAfterLast.end(), [](double d) { return d > 0; });
    std::string line = kind.name + " dialog: the controls were there after the burst's last " +
                       "event in " + std::to_string(late) + " of " +
                       std::to_string(readyAfterLast.size()) + " openings (last event -> " +
                       "controls " + MedianMax(readyAfterLast) + "). Events per opening, " +
                       "median/max:";
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Summary s = Summarize(perKey[order[i]]);
        line += (i ? ", " : " ") + order[i] + " " + Fixed(s.median, 0) + "/" + Fixed(s.max, 0);
    }
    t.Note(line + ".");
    // One opening in order, as a watcher would see it.
    const Opening& o = openings.front();
    std::string seq = kind.name + " dialog, first opening in order (ms after the first event):";
    for (std::size_t i = 0; i < o.events.size(); ++i)
        seq += (i ? ", " : " ") + Key(o.events[i]) + " " +
               Fixed(o.events[i].ms - o.events.front().ms, 1);
    seq += "; controls there at " + Fixed(o.readyMs - o.events.front().ms, 1) + ", visible at " +
           Fixed(o.visibleMs - o.events.front().ms, 1);
    if (o.shownMs) seq += ", " + shown + " at " + Fixed(*o.shownMs - o.events.front().ms, 1);
    seq += "; closing:";
    for (std::size_t i = 0; i < o.closing.size(); ++i)
        seq += (i ? ", " : " ") + Key(o.closing[i]) + " " +
               Fixed(o.closing[i].ms - o.closing.front().ms, 1);
    t.Note(seq + ".");
}

}  // namespace

void MeasureDialogEvents(int openings, Table& t) {
    std::fprintf(stderr, "bench: window events of the dialogs\n");
    KillStrayFreeCells();
    TempDir dir(L"bench-events");
    PracticeOptions po;
    po.timesPath = dir.File(L"times.log");
    PracticeFreeCell fc(po);
    HWND main = fc.WaitForMainWindow();
    if (!main) {
        t.Add({"dialog window events", "failed: no FreeCell window", "", ""});
        return;
    }
    const DWORD pid = fc.Proc().Id();
    EventRecorder rec(pid);
    if (!rec.Hooked()) {
        t.Add({"dialog window events", "failed: SetWinEventHook", "", ""});
        return;
    }
    rec.PumpUntilQuiet();  // whatever the main window still had to say
    rec.Take();

    const std::vector<DialogKind> kinds = {
        {"select", std::wstring(freecell::CkWord[freecell::kSelectGame]), true,
         [](HWND w) { PostAll(w, freecell::OpenSelectGame()); }, Cancel, L"closed select cancel"},
        {"win", std::wstring(freecell::CkWord[freecell::kWin]), false,
         [](HWND w) { PostMessageW(w, PracticeWinMessage(), 0, 0); }, Cancel, L"closed win cancel"},
        // No cancel here: the player restarts the deal.
        {"stuck", std::wstring(freecell::CkWord[freecell::kNoMoreMoves]), false,
         [](HWND w) { PostMessageW(w, PracticeStuckMessage(), 0, 0); },
         [](HWND d) { Click(FindChildByText(d, L"Button", L"同じゲームをやり直す(&R)")); },
         L"closed stuck restart"},
    };
    for (const DialogKind& kind : kinds) {
        const std::wstring shownLine = L"shown " + Utf8ToWide(kind.name);
        std::vector<Opening> done;
        for (int i = 0; i < openings; ++i) {
            Opening o;
            HWND dlg = nullptr;
            o.postedMs = NowMs();
            kind.open(main);
            const auto seen = rec.PumpUntil(
                [&] {
                    if (!dlg) dlg = DialogOf(kind.title, pid);
                    if (!dlg) return false;
                    if (o.readyMs == 0 &&
                        (!kind.hasEdit || FindWindowExW(dlg, nullptr, L"Edit", nullptr)) &&
                        FindWindowExW(dlg, nullptr, L"Button", nullptr))
                        o.readyMs = NowMs();
                    if (o.visibleMs == 0 && IsWindowVisible(dlg)) o.visibleMs = NowMs();
                    return o.readyMs > 0 && o.visibleMs > 0;
                },
                kDialogTimeoutMs);
            if (!seen) {
                t.Note(kind.name + " dialog, opening " + std::to_string(i + 1) + ": not there");
                break;
            }
            rec.PumpUntilQuiet();
            o.events = rec.Take();
            kind.close(dlg);
            rec.PumpUntil([&] { return !IsWindow(dlg); }, kDialogTimeoutMs);
            rec.PumpUntilQuiet();
            o.closing = rec.Take();
            if (!fc.Log().WaitForCount(kind.closedLine, done.size() + 1)) {
                t.Note(kind.name + " dialog, opening " + std::to_string(i + 1) + ": not closed");
                break;
            }
            o.shownMs = NthTime(ReadTimedEvents(po.timesPath), shownLine, done.size());
            done.push_back(std::move(o));
        }
        if (!done.empty()) Report(kind, done, t);
    }
}

}  // namespace dw::bench
