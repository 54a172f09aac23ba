#pragma once
// How the practice FreeCell was asked to behave: from its command line, or —
// when it is started by a program that passes none, as Dealwarden does — from
// a file "<exe without extension>.args" beside it, holding one command line.
#include <string>
#include <vector>

namespace dw::practice {

struct Options {
    std::wstring logPath;  // --log PATH; default "<exe without extension>.log"
    // --times PATH: every log line also goes here as "<ms> <line>", the time
    // from QueryPerformanceCounter, one clock for every process of the machine.
    std::wstring timesPath;
    int winEnters = 1;       // --win-enters N: Enters the win dialog needs to close
    bool noWindow = false;   // --no-window: never create the main window
    bool minimized = false;  // --minimized: the main window starts minimized, not active
    int windowDelayMs = 0;   // --window-delay-ms N: create it N ms after the message loop runs
    int stuckAutoMs = -1;    // --stuck-auto-ms N: answer "restart" N ms after showing it
    int selectInitial = 0;   // --select-initial N: pre-filled deal number (0: random)
    std::vector<std::wstring> errors;  // unknown options or bad values, logged at start
};

// exePath is this program's own path; args excludes the program name.
Options ParseOptions(const std::wstring& exePath, const std::vector<std::wstring>& args);

// The arguments of this process: the args file's first, then the command line's.
std::vector<std::wstring> CollectArguments(const std::wstring& exePath);

std::wstring ModulePath();

}  // namespace dw::practice
