#pragma once
// A process a test started (or took over): it never outlives its owner —
// destruction kills it if it still runs and waits until it is gone.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "harness/windows_win.h"
#include "win/handles_win.h"

namespace dw::harness {

// Quotes one argument the way CommandLineToArgvW splits it back.
std::wstring QuoteArgument(const std::wstring& arg);

class Process {
public:
    Process() = default;
    Process(Process&& o) noexcept : handle_(std::move(o.handle_)), pid_(std::exchange(o.pid_, 0)) {}
    Process& operator=(Process&& o) noexcept;
    ~Process();

    // Starts exe with args; workDir empty: the caller's current directory.
    // Throws std::runtime_error when CreateProcessW fails.
    static Process Start(const std::wstring& exe, const std::vector<std::wstring>& args = {},
                         const std::wstring& workDir = L"");
    // Takes over a running process by id (e.g. one another program started).
    // Returns an empty Process if it cannot be opened.
    static Process Attach(DWORD pid);

    explicit operator bool() const { return static_cast<bool>(handle_); }
    DWORD Id() const { return pid_; }
    HANDLE Handle() const { return handle_.get(); }
    bool Running() const;
    // True when the process ended within the timeout.
    bool WaitForExit(milliseconds timeout = kDefaultTimeout) const;
    DWORD ExitCode() const;  // STILL_ACTIVE while running
    // WaitForInputIdle with a limit: true once the process waits for input.
    bool WaitForInputIdle(milliseconds timeout = kDefaultTimeout) const;
    // Top-level windows this process owns.
    std::vector<HWND> Windows() const { return TopLevelsOf(pid_); }
    void Kill();

private:
    win::UniqueHandle handle_;
    DWORD pid_ = 0;
};

// Kills the owners of every top-level window that matches (other than this
// process); returns how many processes were ended. Leftovers of an earlier,
// crashed test would otherwise take this test's messages.
int KillWindowOwners(const WindowMatch& m);

}  // namespace dw::harness
