#include "bench/pause_bench_win.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

#include "bench/measure_win.h"
#include "bench/stats.h"
#include "harness/event_log_win.h"
#include "harness/files_win.h"
#include "harness/practice_win.h"
#include "harness/process_win.h"
#include "harness/windows_win.h"

namespace dw::bench {
namespace {

using namespace dw::harness;

constexpr int kDealTimeoutMs = 15000;

// Per won game, from the practice FreeCell's own clock: the win (its dialog
// about to be created: a companion that presses Enter as soon as the dialog
// exists closes it before it is ever shown) -> the dialog closed (Enter
// reached it) -> F3 reached FreeCell -> the next deal dealt.
struct Steps {
    std::vector<double> enter, toF3, f3ToDeal, total;
};

Steps StepsOf(const std::vector<TimedEvent>& events) {
    Steps s;
    double shown = -1, closed = -1, f3 = -1;
    for (const auto& e : events) {
        if (e.event == L"won") {
            shown = e.ms;
            closed = f3 = -1;
        } else if (e.event.starts_with(L"closed win") && shown >= 0 && closed < 0) {
            closed = e.ms;
        } else if (e.event == L"f3" && closed >= 0 && f3 < 0) {
            f3 = e.ms;
        } else if (e.event.starts_with(L"deal ") && shown >= 0) {
            if (closed >= 0 && f3 >= 0) {
                s.enter.push_back(closed - shown);
                s.toF3.push_back(f3 - closed);
                s.f3ToDeal.push_back(e.ms - f3);
                s.total.push_back(e.ms - shown);
            }
            shown = closed = f3 = -1;
        }
    }
    return s;
}

void PointerAway() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

// One companion against a fresh practice FreeCell, the listener beside them
// when asked for: the wins at random moments after each deal (fixed seed,
// so both companions get the same pauses).
std::optional<Steps> Phase(const PauseOptions& o, bool floor, unsigned listenerMs,
                           std::string& failure) {
    KillStrayFreeCells();
    PointerAway();
    TempDir dir(L"bench-pause");
    std::optional<Process> listener;
    if (listenerMs) {
        listener = Process::Start(
            WindowsPath(DW_CLIPBOARD_LISTENER_EXE),
            {L"--hold-ms", std::to_wstring(listenerMs), L"--log", dir.File(L"listener.log")});
        if (!EventLogReader(dir.File(L"listener.log")).WaitForLine(L"ready")) {
            failure = "the clipboard listener did not start";
            return std::nullopt;
        }
    }
    PracticeOptions po;
    po.timesPath = dir.File(L"times.log");
    po.selectInitial = 431;
    PracticeFreeCell fc(po);
    HWND fcMain = fc.WaitForMainWindow();
    if (!fcMain) {
        failure = "no FreeCell window";
        return std::nullopt;
    }
    Process companion;
    if (floor) {
        companion = Process::Start(WindowsPath(DW_BENCH_FLOOR_COMPANION_EXE), {L"1"});
    } else {
        const std::wstring exe = dir.File(L"Dealwarden.exe");
        if (!CopyFileW(o.dealwarden.c_str(), exe.c_str(), FALSE))
            throw std::runtime_error("cannot copy Dealwarden");
        companion = Process::Start(exe, {}, dir.Path());
        HWND start = WaitForTopLevel(ByClass(L"TFCMainF", companion.Id()));
        HWND button = start ? WaitForChild(start, L"Button") : nullptr;
        if (!button || !WaitUntil([&] { return IsWindowVisible(start) != FALSE; })) {
            failure = "Dealwarden's start window did not show";
            return std::nullopt;
        }
        Click(button);
    }
    const auto dealt = [&](int n) {
        return fc.Log()
            .WaitForLine(L"deal " + std::to_wstring(n), 0, milliseconds(kDealTimeoutMs))
            .has_value();
    };
    if (!dealt(1)) {
        failure = "the first deal was not entered";
        return std::nullopt;
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pause(0, 1000);
    const UINT winMessage = PracticeWinMessage();
    for (int g = 1; g <= o.games; ++g) {
        Sleep(static_cast<DWORD>(pause(random)));
        PostMessageW(fcMain, winMessage, 0, 0);
        if (!dealt(g + 1)) {
            failure = "game " + std::to_string(g) +
                      ": the next deal was not dealt (or not the number booked)";
            return std::nullopt;
        }
    }
    companion.Kill();
    return StepsOf(ReadTimedEvents(po.timesPath));
}

std::string Med(const std::vector<double>& v) {
    return v.empty() ? "-" : Millis(Summarize(v).median);
}

void Rows(const std::string& under, const Steps& fl, const Steps& dw, Table& t) {
    const Summary f = Summarize(fl.total), d = Summarize(dw.total);
    t.Add({"pause between games" + under + " (" + std::to_string(d.n) + " wins), median / p90",
           Millis(d.median) + " / " + Millis(d.p90),
           "floor " + Millis(f.median) + " / " + Millis(f.p90),
           Ratio(d.median, f.median) + " / " + Ratio(d.p90, f.p90)});
    t.Add({"  min / max", Millis(d.min) + " / " + Millis(d.max),
           "floor " + Millis(f.min) + " / " + Millis(f.max), ""});
    const struct {
        const char* name;
        const std::vector<double>& floor;
        const std::vector<double>& dealwarden;
    } steps[] = {{"win -> its dialog closed (Enter reached it)", fl.enter, dw.enter},
                 {"closed -> F3 reached FreeCell", fl.toF3, dw.toF3},
                 {"F3 -> the number dealt", fl.f3ToDeal, dw.f3ToDeal}};
    for (const auto& s : steps)
        t.Add({std::string("  ") + s.name + ", median", Med(s.dealwarden), "floor " + Med(s.floor),
               s.floor.empty() || s.dealwarden.empty()
                   ? ""
                   : Ratio(Summarize(s.dealwarden).median, Summarize(s.floor).median)});
}

}  // namespace

void MeasurePauseBetweenGames(const PauseOptions& o, Table& t) {
    if (o.games <= 0) return;
    std::vector<unsigned> listeners = {0};
    if (o.listenerMs) listeners.push_back(o.listenerMs);
    for (unsigned hold : listeners) {
        const std::string under = hold ? ", another program holding the clipboard " +
                                             std::to_string(hold) + " ms after each change"
                                       : "";
        std::optional<Steps> results[2];
        for (bool floor : {true, false}) {
            std::fprintf(stderr, "bench: pause between games, %s%s\n",
                         floor ? "floor companion" : "Dealwarden", hold ? ", listener" : "");
            std::fflush(stderr);
            std::string failure;
            results[floor ? 0 : 1] = Phase(o, floor, hold, failure);
            if (!results[floor ? 0 : 1])
                t.Note(std::string(floor ? "floor companion" : "Dealwarden") + under + ": " +
                       failure);
        }
        if (results[0] && results[1]) Rows(under, *results[0], *results[1], t);
    }
    KillStrayFreeCells();
    t.Note(
        "pause between games: the floor is bench/floor_companion_win.cpp (each step as soon "
        "as a 1 ms look sees it; no booking, no window, no save); the same wins at the same "
        "random moments (fixed seed) for both, times from the practice FreeCell's clock.");
}

}  // namespace dw::bench
