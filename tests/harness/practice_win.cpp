#include "harness/practice_win.h"

#include <cwchar>

namespace dw::harness {

std::vector<std::wstring> PracticeOptions::Arguments() const {
    std::vector<std::wstring> a;
    if (!logPath.empty()) a.insert(a.end(), {L"--log", logPath});
    if (!timesPath.empty()) a.insert(a.end(), {L"--times", timesPath});
    if (winEnters != 1) a.insert(a.end(), {L"--win-enters", std::to_wstring(winEnters)});
    if (noWindow) a.push_back(L"--no-window");
    if (minimized) a.push_back(L"--minimized");
    if (windowDelayMs > 0)
        a.insert(a.end(), {L"--window-delay-ms", std::to_wstring(windowDelayMs)});
    if (stuckAutoMs >= 0) a.insert(a.end(), {L"--stuck-auto-ms", std::to_wstring(stuckAutoMs)});
    if (selectInitial > 0) a.insert(a.end(), {L"--select-initial", std::to_wstring(selectInitial)});
    return a;
}

std::wstring PracticeOptions::ArgumentLine() const {
    std::wstring line;
    for (const auto& a : Arguments()) line += (line.empty() ? L"" : L" ") + QuoteArgument(a);
    return line;
}

std::vector<TimedEvent> ReadTimedEvents(const std::wstring& timesPath) {
    std::vector<TimedEvent> events;
    for (const std::wstring& line : EventLogReader(timesPath).Lines()) {
        const auto blank = line.find(L' ');
        if (blank == std::wstring::npos || blank == 0) continue;
        wchar_t* end = nullptr;
        const double ms = std::wcstod(line.c_str(), &end);
        if (end != line.c_str() + blank) continue;
        events.push_back({ms, line.substr(blank + 1)});
    }
    return events;
}

std::wstring PracticeFreeCellExe() {
#ifdef DW_PRACTICE_FREECELL_EXE
    return WindowsPath(DW_PRACTICE_FREECELL_EXE);
#else
    return {};
#endif
}

UINT PracticeWinMessage() {
    return RegisterWindowMessageW(L"DealwardenPractice.Win");
}
UINT PracticeStuckMessage() {
    return RegisterWindowMessageW(L"DealwardenPractice.Stuck");
}

std::vector<WindowMatch> FreeCellWindows() {
    std::vector<WindowMatch> all = {ByClass(std::wstring(freecell::kWindowClass))};
    for (auto title : freecell::CkWord) all.push_back(ByTitle(std::wstring(title)));
    return all;
}

int KillStrayFreeCells() {
    int killed = 0;
    for (const auto& m : FreeCellWindows()) killed += KillWindowOwners(m);
    return killed;
}

namespace {

std::unique_ptr<TempDir> OwnDirIfNeeded(const PracticeOptions& o) {
    return o.logPath.empty() ? std::make_unique<TempDir>(L"practice") : nullptr;
}

}  // namespace

PracticeFreeCell::PracticeFreeCell(PracticeOptions options, std::wstring exe)
    : dir_(OwnDirIfNeeded(options)),
      log_(options.logPath.empty() ? dir_->File(L"practice.log") : options.logPath) {
    options.logPath = log_.Path();
    process_ = Process::Start(exe.empty() ? PracticeFreeCellExe() : exe, options.Arguments());
}

PracticeFreeCell::~PracticeFreeCell() {
    // The process goes first: it holds the log inside the directory.
    process_.Kill();
}

HWND PracticeFreeCell::MainWindow() const {
    return FindTopLevel(ByClass(std::wstring(freecell::kWindowClass), process_.Id()));
}

HWND PracticeFreeCell::WaitForMainWindow(milliseconds timeout) {
    WindowMatch m = ByClass(std::wstring(freecell::kWindowClass), process_.Id());
    m.visibleOnly = true;
    return WaitForTopLevel(m, timeout);
}

HWND PracticeFreeCell::WaitForDialog(const std::wstring& title, milliseconds timeout) {
    return WaitForDialogReady(ByTitle(title, process_.Id()), std::wstring(freecell::kButtonClass),
                              timeout);
}

bool PracticeFreeCell::PostWin() {
    return Post(MainWindow(), PracticeWinMessage());
}
bool PracticeFreeCell::PostStuck() {
    return Post(MainWindow(), PracticeStuckMessage());
}

}  // namespace dw::harness
