#include "event_log_win.h"

#include <cwchar>

#include "tests/harness/performance_clock_win.h"

namespace dw::practice {
namespace {

win::UniqueHandle OpenForAppending(const std::wstring& path) {
    if (path.empty()) return {};
    return win::UniqueHandle(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// One WriteFile per line: a reader never sees half a line from us.
void AppendLine(const win::UniqueHandle& file, const std::wstring& line) {
    if (!file) return;
    const std::wstring withEnd = line + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, withEnd.data(), static_cast<int>(withEnd.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, withEnd.data(), static_cast<int>(withEnd.size()), bytes.data(),
                        n, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

EventLog::EventLog(const std::wstring& path, const std::wstring& timesPath)
    : file_(OpenForAppending(path)), times_(OpenForAppending(timesPath)) {}

void EventLog::Write(const std::wstring& line) {
    const double now = harness::PerformanceCounterMs();
    // The timed copy first: whoever has seen a line in the log finds its time.
    if (times_) {
        wchar_t stamp[32];
        std::swprintf(stamp, sizeof stamp / sizeof stamp[0], L"%.3f ", now);
        AppendLine(times_, stamp + line);
    }
    AppendLine(file_, line);
}

}  // namespace dw::practice
