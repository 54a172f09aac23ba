#include "bench/measure_win.h"

#include <psapi.h>

#include <cwctype>
#include <sstream>
#include <string_view>

#include "harness/performance_clock_win.h"
#include "win/handles_win.h"

namespace dw::bench {
namespace {

double Ms(const FILETIME& t) {
    return static_cast<double>(ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}.QuadPart) /
           10000.0;
}

bool MemoryCounters(HANDLE process, PROCESS_MEMORY_COUNTERS& c) {
    c = {};
    c.cb = sizeof c;
    return GetProcessMemoryInfo(process, &c, sizeof c) != FALSE;
}

std::string ReadAll(const std::wstring& path) {
    win::UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    if (!f) return text;
    char buf[1024];
    DWORD got = 0;
    while (ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) text.append(buf, got);
    return text;
}

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
    return s;
}

}  // namespace

double NowMs() {
    return harness::PerformanceCounterMs();
}

std::optional<double> PollUntil(const std::function<bool()>& cond, double timeoutMs,
                                unsigned pollMs) {
    const double end = NowMs() + timeoutMs;
    for (;;) {
        if (cond()) return NowMs();
        if (NowMs() >= end) return std::nullopt;
        Sleep(pollMs);
    }
}

HWND VisibleTopLevel(const wchar_t* cls, const wchar_t* title, DWORD pid) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, title); w;
         w = FindWindowExW(nullptr, w, cls, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

std::size_t PeakWorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS c;
    return MemoryCounters(process, c) ? c.PeakWorkingSetSize : 0;
}

std::size_t WorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS c;
    return MemoryCounters(process, c) ? c.WorkingSetSize : 0;
}

std::optional<double> CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return std::nullopt;
    return Ms(kernel) + Ms(user);
}

std::optional<double> UnixCpuMs(const std::wstring& statPath) {
    const std::string text = ReadAll(statPath);
    // The command name may hold blanks; the fields after it are plain.
    const auto close = text.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(text.substr(close + 1));
    std::string field;
    double utime = -1, stime = -1;
    // state is field 3; utime and stime are fields 14 and 15.
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stod(field);
        if (i == 15) stime = std::stod(field);
    }
    if (utime < 0 || stime < 0) return std::nullopt;
    return (utime + stime) * 10.0;
}

std::wstring UnixStatPath(unsigned pid) {
    return L"Z:\\proc\\" + std::to_wstring(pid) + L"\\stat";
}

std::optional<unsigned> UnixPidOf(const std::wstring& needle) {
    const std::wstring want = Lower(needle);
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &fd);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<unsigned> found;
    do {
        const std::wstring name = fd.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        const std::string cmd = ReadAll(L"Z:\\proc\\" + name + L"\\cmdline");
        std::wstring wide(cmd.begin(), cmd.end());  // the paths compared are ASCII
        if (Lower(wide).find(want) != std::wstring::npos) {
            found = static_cast<unsigned>(std::stoul(name));
            break;
        }
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return found;
}

std::optional<std::uintmax_t> FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (std::uintmax_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

}  // namespace dw::bench
