#pragma once
// What the Wine benchmark reads off other processes and the clock.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace dw::bench {

// QueryPerformanceCounter in milliseconds.
double NowMs();

// Polls cond every pollMs until it holds; the time (NowMs) at which it was
// first seen to hold, or nullopt after timeoutMs.
std::optional<double> PollUntil(const std::function<bool()>& cond, double timeoutMs,
                                unsigned pollMs = 2);

// A visible top-level window of this process with this class and/or title
// (nullptr: any), or nullptr. Walks only the matching windows, so polling it
// costs little.
HWND VisibleTopLevel(const wchar_t* cls, const wchar_t* title, DWORD pid);

// GetProcessMemoryInfo of another process; 0 when it cannot be read.
std::size_t PeakWorkingSet(HANDLE process);
std::size_t WorkingSet(HANDLE process);
// Kernel and user time of a process so far (GetProcessTimes); nullopt when
// it cannot be read.
std::optional<double> CpuMs(HANDLE process);
// User and system time of a Linux process from its /proc/PID/stat, read
// through drive Z: (at 100 ticks a second, as Linux reports it).
std::optional<double> UnixCpuMs(const std::wstring& statPath);

// The Linux process id of the Wine process whose command line holds needle
// (compared without regard to case), found through Z:\proc; nullopt if none.
// Wine's GetProcessTimes of another process lags far behind its real use,
// so CPU time is read from Linux.
std::optional<unsigned> UnixPidOf(const std::wstring& needle);
std::wstring UnixStatPath(unsigned pid);

// nullopt when the file cannot be read.
std::optional<std::uintmax_t> FileSize(const std::wstring& path);

}  // namespace dw::bench
