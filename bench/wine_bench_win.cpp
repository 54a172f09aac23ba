// dw_bench_wine [options]: Dealwarden under Wine measured against a bare
// Win32 program of one window (the floor) and against the practice FreeCell,
// one section after another so that no two measurements share the machine,
// then one table with ratios. Options (all optional):
//   --startups N        launches of each program for start-up and memory (10)
//   --cold-startups N   launches in which Dealwarden starts FreeCell itself (5)
//   --dealwarden PATH   the Dealwarden.exe to measure (Windows path; default:
//                       the one built beside this program)
//   --games N           games won through the control channel, each win at a
//                       random moment 0..1000 ms after the deal (100)
//   --stuck-dialogs N   no-more-moves dialogs after the games (20)
//   --stuck-auto-ms N   the practice FreeCell answers each by itself after N ms (400)
//   --event-openings N  openings of each dialog watched through window events (30)
//   --history-inserts N timed InsertOnTop calls at each history size (20)
//   --idle-seconds N    the idle window (60)
//   --ini-writes N      timed saves through the profile functions (30)
//   --ticks N           timed watcher ticks through the real window system (200)
//   --saves N, --large-saves N   bookings saved with a normal and a 10 MB
//                       settings file, on the window thread and through the
//                       writer (10, 2)
//   --only-saves        only the saves' figures (in-process and the program's)
//   --native-ini-disk-ms X, --native-ini-tmpfs-ms X, --native-tick-ns X
//                       the native Google Benchmark figures, put into the table
//   --wineserver-stat PATH   Z:\proc\PID\stat of this session's wineserver
//   --stripped-dealwarden PATH, --stripped-floor PATH   stripped copies
//   --pause-games N     wins for the pause between games, per companion and
//                       clipboard: the floor companion and Dealwarden (100; 0: none)
//   --listener-ms N     the clipboard listener's hold for those (40; 0: none)
//   --markdown          print the table in Markdown
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cwchar>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench/counting_requests.h"
#include "bench/dialog_events_win.h"
#include "bench/history_box_bench_win.h"
#include "bench/measure_win.h"
#include "bench/pause_bench_win.h"
#include "bench/sample_record.h"
#include "bench/save_share_bench_win.h"
#include "bench/stats.h"
#include "bench/table.h"
#include "freecell/contract.h"
#include "freecell/watcher.h"
#include "freecell/window_system_win.h"
#include "harness/event_log_win.h"
#include "harness/files_win.h"
#include "harness/practice_win.h"
#include "harness/process_win.h"
#include "harness/windows_win.h"
#include "record/app_error.h"
#include "record/profile_win.h"
#include "record/settings.h"
#include "ui/SeisekiF_win.h"

namespace {

using namespace dw;
using namespace dw::bench;
using namespace dw::harness;

constexpr wchar_t kStartWindowClass[] = L"TFCMainF";
constexpr wchar_t kScoreWindowClass[] = L"TFCSeisekiF";
constexpr wchar_t kFloorClass[] = L"DwBenchFloor";
constexpr double kWindowTimeoutMs = 30000;
constexpr double kDealTimeoutMs = 15000;
// How long after a no-more-moves dialog was answered its try may still reach
// the counter: more than two ticks of the once-a-second watcher.
constexpr int kCounterAfterAnswerMs = 2500;
constexpr DWORD kSettleMs = 500;  // after a window shows, before memory is read

struct Options {
    int startups = 10;
    int coldStartups = 5;
    int games = 100;
    int stuckDialogs = 20;
    int stuckAutoMs = 400;
    int eventOpenings = 30;
    int historyInserts = 20;
    int idleSeconds = 60;
    int iniWrites = 30;
    int ticks = 200;
    int pauseGames = 100;
    int listenerMs = 40;
    int saves = 10;
    int largeSaves = 2;
    bool onlySaves = false;
    std::optional<double> nativeIniDiskMs, nativeIniTmpfsMs, nativeTickNs;
    std::wstring dealwarden;
    std::wstring wineserverStat;
    std::wstring strippedDealwarden, strippedFloor;
    bool markdown = false;
};

std::optional<Options> ParseOptions(int argc, wchar_t** argv) {
    Options o;
    std::map<std::wstring, int*> ints = {{L"--startups", &o.startups},
                                         {L"--cold-startups", &o.coldStartups},
                                         {L"--games", &o.games},
                                         {L"--idle-seconds", &o.idleSeconds},
                                         {L"--ini-writes", &o.iniWrites},
                                         {L"--ticks", &o.ticks},
                                         {L"--pause-games", &o.pauseGames},
                                         {L"--listener-ms", &o.listenerMs},
                                         {L"--saves", &o.saves},
                                         {L"--large-saves", &o.largeSaves},
                                         {L"--stuck-dialogs", &o.stuckDialogs},
                                         {L"--stuck-auto-ms", &o.stuckAutoMs},
                                         {L"--event-openings", &o.eventOpenings},
                                         {L"--history-inserts", &o.historyInserts}};
    std::map<std::wstring, std::optional<double>*> reals = {
        {L"--native-ini-disk-ms", &o.nativeIniDiskMs},
        {L"--native-ini-tmpfs-ms", &o.nativeIniTmpfsMs},
        {L"--native-tick-ns", &o.nativeTickNs}};
    std::map<std::wstring, std::wstring*> texts = {
        {L"--dealwarden", &o.dealwarden},
        {L"--wineserver-stat", &o.wineserverStat},
        {L"--stripped-dealwarden", &o.strippedDealwarden},
        {L"--stripped-floor", &o.strippedFloor}};
    for (int i = 1; i < argc; ++i) {
        const std::wstring name = argv[i];
        if (name == L"--markdown") {
            o.markdown = true;
            continue;
        }
        if (name == L"--only-saves") {
            o.onlySaves = true;
            continue;
        }
        if (i + 1 >= argc) return std::nullopt;
        const std::wstring value = argv[++i];
        if (auto it = ints.find(name); it != ints.end()) {
            *it->second = std::stoi(value);
        } else if (auto r = reals.find(name); r != reals.end()) {
            *r->second = std::stod(value);
        } else if (auto t = texts.find(name); t != texts.end()) {
            *t->second = value;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

void Progress(const char* what) {
    std::fprintf(stderr, "bench: %s\n", what);
    std::fflush(stderr);
}

std::wstring DealwardenExe(const Options& o) {
    return o.dealwarden.empty() ? WindowsPath(DW_DEALWARDEN_EXE) : o.dealwarden;
}
std::wstring FloorExe() {
    return WindowsPath(DW_BENCH_FLOOR_EXE);
}

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return s;
}

std::string Range(const Summary& s, std::string (*unit)(double)) {
    return unit(s.median) + " (" + unit(s.min) + ".." + unit(s.max) + ")";
}

// Dealwarden in a fresh directory of its own with the practice FreeCell
// beside it as FREECELL.EXE, found there first when Dealwarden starts it.
// The directory's name holds this process's id: other Wine sessions on the
// machine may run programs of the same names.
class Install {
public:
    explicit Install(const Options& o) {
        if (!CopyFileW(DealwardenExe(o).c_str(), Exe().c_str(), FALSE) ||
            !CopyFileW(FloorExe().c_str(), Floor().c_str(), FALSE))
            throw std::runtime_error("cannot copy the programs");
        PracticeOptions practice;
        practice.logPath = dir_.File(L"FREECELL.log");
        freecell_.emplace(InstalledFreeCell::AtDirectory(dir_.Path(), PracticeFreeCellExe(),
                                                         practice.ArgumentLine()));
    }
    std::wstring Dir() const { return dir_.Path(); }
    std::wstring Exe() const { return dir_.File(L"Dealwarden.exe"); }
    // The floor runs from here too, so that its path names this run alone.
    std::wstring Floor() const { return dir_.File(L"bench_floor.exe"); }
    std::wstring Ini() const { return dir_.File(L"Dealwarden.Ini"); }

private:
    TempDir dir_{L"bench"};
    std::optional<InstalledFreeCell> freecell_;
};

struct Launch {
    Process process;
    std::wstring exe;
    std::optional<double> ms;  // launch -> window visible
    // CPU time so far, from Linux (see UnixPidOf).
    std::optional<double> CpuMs() {
        if (!unixPid) unixPid = UnixPidOf(exe);
        return unixPid ? UnixCpuMs(UnixStatPath(*unixPid)) : std::nullopt;
    }

private:
    std::optional<unsigned> unixPid;
};

Launch LaunchTimed(const std::wstring& exe, const wchar_t* cls, const std::wstring& workDir) {
    Launch l;
    l.exe = exe;
    const double t0 = NowMs();
    l.process = Process::Start(exe, {}, workDir);
    const DWORD pid = l.process.Id();
    const auto t1 =
        PollUntil([&] { return VisibleTopLevel(cls, nullptr, pid) != nullptr; }, kWindowTimeoutMs);
    if (t1) l.ms = *t1 - t0;
    return l;
}

void KillFreeCellStartedBy() {
    if (HWND fc = FindTopLevel(ByClass(std::wstring(freecell::kWindowClass))))
        Process::Attach(OwnerProcess(fc)).Kill();
}

// Xvfb starts with the pointer in the middle of the screen, where the start
// window is centred; the measurements want it away from every window.
void PointerAway() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Sleep(200);
}

// --- the sections ------------------------------------------------------------

void ExeSizes(const Options& o, Table& t) {
    const auto row = [&](const char* figure, const std::wstring& dw, const std::wstring& floor) {
        const auto a = FileSize(dw), b = FileSize(floor);
        if (!a || !b) return;
        t.Add({figure, KiB(*a), "floor " + KiB(*b),
               Ratio(static_cast<double>(*a), static_cast<double>(*b))});
    };
    row("exe size, as built (Release)", DealwardenExe(o), FloorExe());
    if (!o.strippedDealwarden.empty() && !o.strippedFloor.empty())
        row("exe size, stripped", o.strippedDealwarden, o.strippedFloor);
}

void IniWriteUnderWine(const Options& o, Table& t) {
    Progress("IniWrite through the profile functions");
    TempDir dir(L"bench-ini");
    const std::wstring ini = dir.File(L"Dealwarden.Ini");
    Win32ProfileFiles files;
    const TFCGameRecord record = SampleRecord();
    try {
        const double f0 = NowMs();
        IniWrite(files, ini, record, false);
        const double first = NowMs() - f0;
        std::vector<double> ms;
        for (int i = 0; i < o.iniWrites; ++i) {
            const double t0 = NowMs();
            IniWrite(files, ini, record, false);
            ms.push_back(NowMs() - t0);
        }
        const Summary s = Summarize(ms);
        const double ref = o.nativeIniDiskMs.value_or(0);
        t.Add({"IniWrite, profile functions under Wine (median of " + std::to_string(s.n) + ")",
               Range(s, Millis), o.nativeIniDiskMs ? "portable writer natively " + Millis(ref) : "",
               Ratio(s.median, ref)});
        t.Note("IniWrite under Wine: the first save (new file) took " + Millis(first) + "; " +
               std::to_string(FileSize(ini).value_or(0)) + " bytes, 109 values.");
    } catch (const AppError& e) {
        t.Add({"IniWrite, profile functions under Wine", "failed: " + Narrow(e.Message()), "", ""});
    }
}

void TickUnderWine(const Options& o, Table& t) {
    Progress("watcher ticks through the real window system");
    PracticeFreeCell fc;
    HWND main = fc.WaitForMainWindow();
    if (!main) {
        t.Add({"watcher tick, idle, under Wine", "failed: no FreeCell window", "", ""});
        return;
    }
    Win32WindowSystem ws;
    TFCGameRecord record = SampleRecord();
    bench::CountingRequests ui;
    DialogWatcher watcher(ws, record, ui);
    const auto fcHnd = win::FromHwnd(main);
    for (int i = 0; i < 10; ++i) watcher.Timer1Timer(fcHnd, kNoWindow);
    std::vector<double> us;
    for (int i = 0; i < o.ticks; ++i) {
        const double t0 = NowMs();
        watcher.Timer1Timer(fcHnd, kNoWindow);
        us.push_back((NowMs() - t0) * 1000.0);
    }
    const Summary s = Summarize(us);
    const double ref = o.nativeTickNs.value_or(0) / 1000.0;
    t.Add({"watcher tick, nothing to do, under Wine (median of " + std::to_string(s.n) + ")",
           Range(s, Micros), o.nativeTickNs ? "same tick natively, fake " + Micros(ref) : "",
           Ratio(s.median, ref)});
    if (ui.count) t.Note("the idle tick asked the interface for something: not idle");
}

// The settings file of a returning player: a full history, so that start-up
// reads what it reads in real use.
void WriteSampleSettings(const std::wstring& ini) {
    Win32ProfileFiles files;
    IniWrite(files, ini, SampleRecord(), false);
}

void StartUp(const Options& o, Table& t) {
    Progress("start-up and memory after start");
    Install install(o);
    std::vector<double> dwMs, floorMs, dwPeak, floorPeak, dwCpu, floorCpu, coldMs;
    PointerAway();
    const auto sample = [](Launch& l, std::vector<double>& ms, std::vector<double>& peak,
                           std::vector<double>& cpu) {
        if (!l.ms) return;
        ms.push_back(*l.ms);
        peak.push_back(static_cast<double>(PeakWorkingSet(l.process.Handle())));
        if (auto c = l.CpuMs()) cpu.push_back(*c);
    };
    {
        PracticeFreeCell fc;  // running: Dealwarden only finds it
        fc.WaitForMainWindow();
        // One launch of each first, unmeasured: the file cache warms up.
        for (int i = -1; i < o.startups; ++i) {
            Launch floor = LaunchTimed(install.Floor(), kFloorClass, L"");
            Sleep(kSettleMs);
            if (i >= 0) sample(floor, floorMs, floorPeak, floorCpu);
            floor.process.Kill();
            WriteSampleSettings(install.Ini());
            Launch dw = LaunchTimed(install.Exe(), kStartWindowClass, install.Dir());
            Sleep(kSettleMs);
            if (i >= 0) sample(dw, dwMs, dwPeak, dwCpu);
            dw.process.Kill();
        }
    }
    Progress("start-up with FreeCell started by Dealwarden");
    KillStrayFreeCells();
    for (int i = 0; i < o.coldStartups; ++i) {
        WriteSampleSettings(install.Ini());
        Launch dw = LaunchTimed(install.Exe(), kStartWindowClass, install.Dir());
        if (dw.ms) coldMs.push_back(*dw.ms);
        dw.process.Kill();
        KillFreeCellStartedBy();
        KillStrayFreeCells();
    }

    const Summary d = Summarize(dwMs), f = Summarize(floorMs), c = Summarize(coldMs);
    const Summary dp = Summarize(dwPeak), fp = Summarize(floorPeak);
    const Summary dc = Summarize(dwCpu), fc = Summarize(floorCpu);
    t.Add({"start-up to start window, FreeCell running (median of " + std::to_string(d.n) + ")",
           Range(d, Millis), "floor " + Range(f, Millis), Ratio(d.median, f.median)});
    t.Add({"start-up, Dealwarden starts FreeCell (median of " + std::to_string(c.n) + ")",
           Range(c, Millis), "floor " + Millis(f.median), Ratio(c.median, f.median)});
    if (dc.n && fc.n)
        t.Add({"  CPU time of start-up, to window + 0.5 s (median)", Millis(dc.median),
               "floor " + Millis(fc.median), Ratio(dc.median, fc.median)});
    t.Add({"peak working set after start (median)", MiB(static_cast<std::size_t>(dp.median)),
           "floor " + MiB(static_cast<std::size_t>(fp.median)), Ratio(dp.median, fp.median)});
    t.Note(
        "start-up: Dealwarden reads a settings file with 100 history lines; the practice "
        "FreeCell is already running unless Dealwarden starts it.");
}

// Waits until the practice FreeCell has dealt this deal.
bool WaitForDeal(const EventLogReader& log, int deal) {
    return log
        .WaitForLine(L"deal " + std::to_wstring(deal), 0,
                     milliseconds(static_cast<int>(kDealTimeoutMs)))
        .has_value();
}

std::string Spread(const Summary& s) {
    return Millis(s.min) + " / " + Millis(s.median) + " / " + Millis(s.p90) + " / " + Millis(s.max);
}

// From the practice FreeCell's clock, per won game: the win (its dialog about
// to be created) -> the next deal dealt, and F3 received -> that deal.
struct GameLatencies {
    std::vector<double> winToDeal, f3ToDeal;
};

GameLatencies LatenciesOf(const std::vector<TimedEvent>& events) {
    GameLatencies r;
    // The moments of this game's win dialog and F3; negative: not yet.
    double win = -1, f3 = -1;
    for (const auto& e : events) {
        if (e.event == L"won") {
            win = e.ms;
            f3 = -1;
        } else if (e.event == L"f3" && win >= 0 && f3 < 0) {
            f3 = e.ms;
        } else if (e.event.starts_with(L"deal ") && win >= 0) {
            r.winToDeal.push_back(e.ms - win);
            if (f3 >= 0) r.f3ToDeal.push_back(e.ms - f3);
            win = f3 = -1;
        }
    }
    return r;
}

// A control's text as its owner answers WM_GETTEXT: what the window shows
// once its thread gets round to it. nullopt when it does not answer in time.
std::optional<std::wstring> AnsweredText(HWND w) {
    wchar_t buf[64] = {};
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 1000,
                             &got))
        return std::nullopt;
    return std::wstring(buf, std::min<DWORD_PTR>(got, 63));
}

// The try counter of Dealwarden's score window ("n 回目").
HWND TryCounter(DWORD dwPid) {
    HWND score = FindTopLevel(ByClass(kScoreWindowClass, dwPid));
    return score ? GetDlgItem(score, TFCSeisekiF::ControlId(ScoreField::Label1)) : nullptr;
}

struct Idle {
    double windowMs = 0;
    // CPU used in the window; GetProcessTimes' figure for Dealwarden beside it.
    std::optional<double> dwMs, floorMs, wineserverMs, dwGetProcessTimesMs;
};

Idle MeasureIdle(const Options& o, Launch& dw, Launch& floor, int seconds) {
    const auto wineserver = [&]() -> std::optional<double> {
        if (o.wineserverStat.empty()) return std::nullopt;
        return UnixCpuMs(o.wineserverStat);
    };
    const auto delta = [](std::optional<double> a, std::optional<double> b) {
        return a && b ? std::optional<double>(b.value() - a.value()) : std::nullopt;
    };
    const auto dw0 = dw.CpuMs(), fl0 = floor.CpuMs(), ws0 = wineserver();
    const auto gpt0 = CpuMs(dw.process.Handle());
    const double t0 = NowMs();
    Sleep(static_cast<DWORD>(seconds) * 1000);
    Idle r;
    r.dwMs = delta(dw0, dw.CpuMs());
    r.floorMs = delta(fl0, floor.CpuMs());
    r.wineserverMs = delta(ws0, wineserver());
    r.dwGetProcessTimesMs = delta(gpt0, CpuMs(dw.process.Handle()));
    r.windowMs = NowMs() - t0;
    return r;
}

void Play(const Options& o, Table& t) {
    Progress("playing");
    KillStrayFreeCells();
    PointerAway();
    Install install(o);
    TempDir timesDir(L"bench-times");
    PracticeOptions po;
    po.timesPath = timesDir.File(L"times.log");
    po.stuckAutoMs = o.stuckAutoMs;
    PracticeFreeCell fc(po);
    HWND fcMain = fc.WaitForMainWindow();
    Launch floor = LaunchTimed(install.Floor(), kFloorClass, L"");
    Launch dw = LaunchTimed(install.Exe(), kStartWindowClass, install.Dir());
    HWND start = dw.ms ? VisibleTopLevel(kStartWindowClass, nullptr, dw.process.Id()) : nullptr;
    HWND button = start ? WaitForChild(start, L"Button") : nullptr;
    if (!fcMain || !floor.ms || !button) {
        t.Add({"playing", "failed: a window did not show", "", ""});
        return;
    }
    // Idle, as long each time: before Start (no watcher) and with the
    // watcher ticking; FreeCell shows no dialog and nothing is touched.
    Progress("idle window before Start");
    const Idle before = MeasureIdle(o, dw, floor, o.idleSeconds);
    // Under Wine a themed button polls the pointer while it rests on it.
    Progress("pointer resting on the start button");
    RECT r{};
    GetWindowRect(button, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const Idle hover = MeasureIdle(o, dw, floor, std::min(o.idleSeconds, 20));
    PointerAway();
    Click(button);
    if (!WaitForDeal(fc.Log(), 1)) {
        t.Add({"playing", "failed: the first deal was not entered", "", ""});
        return;
    }
    Progress("idle window, watcher ticking");
    const Idle ticking = MeasureIdle(o, dw, floor, o.idleSeconds);
    const auto pct = [](const Idle& i, double ms) {
        return Fixed(100.0 * ms / i.windowMs, 3) + "% of a core";
    };
    if (ticking.dwMs && ticking.floorMs) {
        t.Add({"idle CPU over " + Fixed(ticking.windowMs / 1000, 0) + " s, watcher ticking",
               Millis(*ticking.dwMs) + " = " + pct(ticking, *ticking.dwMs),
               "floor " + Millis(*ticking.floorMs), Ratio(*ticking.dwMs, *ticking.floorMs)});
        if (before.dwMs)
            t.Add({"  the same, before Start (no watcher)", Millis(*before.dwMs), "", ""});
        if (hover.dwMs)
            t.Add({"  before Start, pointer resting on the button (" +
                       Fixed(hover.windowMs / 1000, 0) + " s)",
                   Millis(*hover.dwMs) + " = " + pct(hover, *hover.dwMs), "", ""});
        if (ticking.wineserverMs && before.wineserverMs)
            t.Add({"  wineserver CPU (whole session), ticking",
                   Millis(*ticking.wineserverMs) + " = " + pct(ticking, *ticking.wineserverMs),
                   "before Start " + Millis(*before.wineserverMs),
                   Ratio(*ticking.wineserverMs, *before.wineserverMs)});
        if (hover.wineserverMs)
            t.Add({"  wineserver CPU, pointer resting on the button",
                   Millis(*hover.wineserverMs) + " = " + pct(hover, *hover.wineserverMs), "", ""});
        if (ticking.dwGetProcessTimesMs)
            t.Note("GetProcessTimes gave Dealwarden " + Millis(*ticking.dwGetProcessTimesMs) +
                   " for the ticking window: Wine's figure for another process lags, so the "
                   "table reads /proc (10-ms steps).");
    }

    // Each win comes at a random moment after its deal, so that the wins
    // fall evenly over the phase of Dealwarden's once-a-second tick. The
    // seed is fixed: every run waits the same pauses.
    std::mt19937 random(1);
    std::uniform_int_distribution<int> pause(0, 1000);
    Progress("games");
    const UINT winMessage = PracticeWinMessage();
    int booked = 0;
    for (int g = 1; g <= o.games; ++g) {
        Sleep(static_cast<DWORD>(pause(random)));
        PostMessageW(fcMain, winMessage, 0, 0);
        if (!WaitForDeal(fc.Log(), g + 1)) {
            t.Note("game " + std::to_string(g) + ": the next deal was not entered in time");
            break;
        }
        booked = g;
        if (g % 10 == 0) std::fprintf(stderr, "bench: %d games\n", g), std::fflush(stderr);
    }
    Sleep(1000);
    const std::size_t dwPeak = PeakWorkingSet(dw.process.Handle());
    const std::size_t floorPeak = PeakWorkingSet(floor.process.Handle());
    t.Add({"peak working set after " + std::to_string(booked) + " booked games", MiB(dwPeak),
           "floor " + MiB(floorPeak),
           Ratio(static_cast<double>(dwPeak), static_cast<double>(floorPeak))});
    t.Note("after the games: working set " + MiB(WorkingSet(dw.process.Handle())) +
           ", settings file GameNo=" +
           Narrow(Win32ProfileFiles().ReadValue(install.Ini(), L"Game", L"GameNo")) +
           " won=" + Narrow(Win32ProfileFiles().ReadValue(install.Ini(), L"Score", L"won")));

    // No-more-moves dialogs, answered by the practice FreeCell itself: the
    // player sees the try booked when the counter shows the next number.
    Progress("no-more-moves dialogs");
    const UINT stuckMessage = PracticeStuckMessage();
    HWND counter = TryCounter(dw.process.Id());
    std::vector<std::optional<double>> counted;  // when the counter changed, per dialog
    if (!counter) t.Note("no try counter found in the score window");
    std::optional<std::wstring> counterText = counter ? AnsweredText(counter) : std::nullopt;
    for (int s = 1; counter && counterText && s <= o.stuckDialogs; ++s) {
        Sleep(static_cast<DWORD>(pause(random)));
        PostMessageW(fcMain, stuckMessage, 0, 0);
        const auto changed = PollUntil(
            [&] {
                const auto now = AnsweredText(counter);
                if (!now || *now == *counterText) return false;
                counterText = now;
                return true;
            },
            o.stuckAutoMs + kCounterAfterAnswerMs, 1);
        counted.push_back(changed);
        if (!fc.Log().WaitForCount(L"closed stuck restart", static_cast<std::size_t>(s))) {
            t.Note("no-more-moves dialog " + std::to_string(s) + " was not answered");
            break;
        }
    }

    const auto times = ReadTimedEvents(po.timesPath);
    const GameLatencies games = LatenciesOf(times);
    std::vector<double> stuckMs;
    std::size_t nth = 0;
    for (const auto& e : times) {
        if (e.event != L"shown stuck") continue;
        if (nth < counted.size() && counted[nth]) stuckMs.push_back(*counted[nth] - e.ms);
        ++nth;
    }
    const Summary w = Summarize(games.winToDeal), f = Summarize(games.f3ToDeal),
                  k = Summarize(stuckMs);
    t.Add({"win -> next deal dealt (" + std::to_string(w.n) +
               " games), min / median / p90 / max",
           Spread(w), "tick period 1000 ms", Ratio(w.median, 1000)});
    t.Add({"  F3 received -> deal dealt (" + std::to_string(f.n) + " games)", Spread(f), "", ""});
    t.Add({"no-more-moves shown -> try counter shows it (" + std::to_string(k.n) + " of " +
               std::to_string(counted.size()) + " booked)",
           k.n ? Spread(k) : "-", "answered after " + std::to_string(o.stuckAutoMs) + " ms", ""});
    t.Note(
        "latency: each win posted 0..1000 ms (random, fixed seed) after its deal; times from "
        "the practice FreeCell's --times clock (QueryPerformanceCounter, one clock with this "
        "program's); the try counter read by WM_GETTEXT (SendMessageTimeout) every 1 ms, "
        "so it counts only once Dealwarden's thread answers.");
    if (k.n < counted.size())
        t.Note(std::to_string(counted.size() - k.n) + " of " + std::to_string(counted.size()) +
               " no-more-moves dialogs (each answered after " + std::to_string(o.stuckAutoMs) +
               " ms) never reached the try counter, waited for " +
               std::to_string(o.stuckAutoMs + kCounterAfterAnswerMs) + " ms: not booked.");

    dw.process.Kill();
    floor.process.Kill();
}

// The program itself while it saves a booking: the longest its score window
// took to answer WM_NULL from the win until the booking was in the file,
// with the sample settings file and with 10 MB of other text before it.
void SavesWhilePlaying(const Options& o, Table& t) {
    for (const bool large : {false, true}) {
        Progress(large ? "the program saving a booking, 10 MB settings file"
                       : "the program saving a booking");
        KillStrayFreeCells();
        Install install(o);
        if (large)
            WriteLargeSettings(install.Ini());
        else
            WriteSampleSettings(install.Ini());
        const std::wstring gameNo =
            Win32ProfileFiles().ReadValue(install.Ini(), L"Game", L"GameNo");
        PracticeFreeCell fc;
        HWND fcMain = fc.WaitForMainWindow();
        Launch dw = LaunchTimed(install.Exe(), kStartWindowClass, install.Dir());
        HWND start = dw.ms ? VisibleTopLevel(kStartWindowClass, nullptr, dw.process.Id()) : nullptr;
        HWND button = start ? WaitForChild(start, L"Button") : nullptr;
        const char* file = large ? "10 MB file" : "normal file";
        if (!fcMain || !button) {
            t.Add({std::string("program saving a booking, ") + file, "failed: no window", "", ""});
            continue;
        }
        Click(button);
        const auto score = PollUntil(
            [&] { return VisibleTopLevel(kScoreWindowClass, nullptr, dw.process.Id()); }, 10000);
        HWND scoreWindow = VisibleTopLevel(kScoreWindowClass, nullptr, dw.process.Id());
        if (!score || !WaitForDeal(fc.Log(), std::stoi(gameNo))) {
            t.Add({std::string("program saving a booking, ") + file, "failed: no deal", "", ""});
            dw.process.Kill();
            continue;
        }
        AnswerProbe probe(scoreWindow);
        const double t0 = NowMs();
        PostMessageW(fcMain, PracticeWinMessage(), 0, 0);
        const std::wstring next = std::to_wstring(std::stoi(gameNo) + 1);
        const auto onDisk = PollUntil(
            [&] {
                return Win32ProfileFiles().ReadValue(install.Ini(), L"Game", L"GameNo") == next;
            },
            180000, 20);
        // A while longer: what follows the save (its news) is measured too.
        Sleep(500);
        probe.Stop();
        t.Add({std::string("program: longest the score window went unanswered, win -> on disk, ") +
                   file,
               Millis(probe.LongestMs()),
               onDisk ? "on disk after " + Millis(*onDisk - t0) : "not on disk in 180 s", ""});
        dw.process.Kill();
    }
    t.Note(
        "program saving: WM_NULL sent to the score window every 5 ms from the benchmark "
        "(SendMessageTimeout), from the win posted to the practice FreeCell until the "
        "booking's GameNo read back from the file, and 0.5 s after.");
}

void NativeRows(const Options& o, Table& t) {
    if (o.nativeIniDiskMs)
        t.Add({"IniWrite, portable writer natively, on disk (Google Benchmark)",
               Millis(*o.nativeIniDiskMs), "", ""});
    if (o.nativeIniTmpfsMs)
        t.Add({"IniWrite, portable writer natively, tmpfs (no sync cost)",
               Millis(*o.nativeIniTmpfsMs),
               o.nativeIniDiskMs ? "on disk " + Millis(*o.nativeIniDiskMs) : "",
               o.nativeIniDiskMs ? Ratio(*o.nativeIniTmpfsMs, *o.nativeIniDiskMs) : ""});
    if (o.nativeTickNs)
        t.Add({"watcher tick, nothing to do, natively (fake window system)",
               Fixed(*o.nativeTickNs, 0) + " ns", "", ""});
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: see the head of bench/wine_bench_win.cpp\n");
        return 2;
    }
    const Options& o = *options;
    KillStrayFreeCells();
    Table table;
    if (!o.dealwarden.empty()) table.Note("Dealwarden measured: " + Narrow(o.dealwarden));
    try {
        if (o.onlySaves) {
            MeasureSaveShare(o.saves, o.largeSaves, table);
            SavesWhilePlaying(o, table);
            KillStrayFreeCells();
            table.Print(stdout, o.markdown);
            return 0;
        }
        ExeSizes(o, table);
        StartUp(o, table);
        Play(o, table);
        MeasurePauseBetweenGames(
            {o.pauseGames, static_cast<unsigned>(o.listenerMs), DealwardenExe(o)}, table);
        IniWriteUnderWine(o, table);
        MeasureSaveShare(o.saves, o.largeSaves, table);
        SavesWhilePlaying(o, table);
        TickUnderWine(o, table);
        MeasureDialogEvents(o.eventOpenings, table);
        MeasureHistoryBox(o.historyInserts, table);
        NativeRows(o, table);
    } catch (const std::exception& e) {
        table.Note(std::string("stopped: ") + e.what());
    }
    KillStrayFreeCells();
    std::printf("\n");
    table.Print(stdout, o.markdown);
    return 0;
}
