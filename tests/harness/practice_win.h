#pragma once
// The practice FreeCell as a test drives it: started with a log in a temp
// directory of its own, its main window found by class and owning process,
// its control channel (win / stuck on request) and its log at hand.
#include <memory>
#include <string>
#include <vector>

#include "harness/event_log_win.h"
#include "harness/files_win.h"
#include "harness/performance_clock_win.h"
#include "harness/process_win.h"

namespace dw::harness {

// The program's command-line options (see tests/practice_freecell/options_win.h).
struct PracticeOptions {
    std::wstring logPath;    // empty: the owner picks one
    std::wstring timesPath;  // the log again with times (see TimedEvent); empty: none
    int winEnters = 1;       // Enters the win dialog needs
    bool noWindow = false;   // never create the main window
    bool minimized = false;  // the main window starts minimized
    int windowDelayMs = 0;   // create it this long after the message loop runs
    int stuckAutoMs = -1;    // answer the stuck dialog "restart" by itself after this long
    int selectInitial = 0;   // the select field's starting number (0: random)
    std::vector<std::wstring> Arguments() const;
    std::wstring ArgumentLine() const;  // the same, quoted into one line (for an .args file)
};

// A line of the --times file: when the practice FreeCell logged the event,
// in QueryPerformanceCounter milliseconds (comparable with this process's).
struct TimedEvent {
    double ms = 0;
    std::wstring event;  // as in the log
};
// The complete lines so far, in order; a line that does not parse is left out.
std::vector<TimedEvent> ReadTimedEvents(const std::wstring& timesPath);

// The built program (DW_PRACTICE_FREECELL_EXE of the test build).
std::wstring PracticeFreeCellExe();

// Registered messages of the control channel, posted to the main window.
UINT PracticeWinMessage();
UINT PracticeStuckMessage();

// Every window the tests watch for: FreeCell's class and the three dialog titles.
std::vector<WindowMatch> FreeCellWindows();
// Ends the owners of any of them; call at the start of a test for a clean desktop.
int KillStrayFreeCells();

class PracticeFreeCell {
public:
    // Starts the program (exe defaults to the built one); the log goes to
    // options.logPath or a file in a temp directory owned by this object.
    explicit PracticeFreeCell(PracticeOptions options = {}, std::wstring exe = L"");
    PracticeFreeCell(const PracticeFreeCell&) = delete;
    PracticeFreeCell& operator=(const PracticeFreeCell&) = delete;
    ~PracticeFreeCell();

    Process& Proc() { return process_; }
    const EventLogReader& Log() const { return log_; }
    // The main window (class "FreeCell" of this process), waited for.
    HWND WaitForMainWindow(milliseconds timeout = kDefaultTimeout);
    HWND MainWindow() const;  // nullptr if not (yet) there
    // A dialog of this process by title, visible with its Button child.
    HWND WaitForDialog(const std::wstring& title, milliseconds timeout = kDefaultTimeout);
    bool PostWin();
    bool PostStuck();

private:
    std::unique_ptr<TempDir> dir_;
    EventLogReader log_;
    Process process_;
};

}  // namespace dw::harness
