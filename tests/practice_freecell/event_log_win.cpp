#include "event_log_win.h"

namespace dw::practice {

EventLog::EventLog(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

EventLog::~EventLog() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

void EventLog::Write(const std::wstring& line) {
    if (file_ == INVALID_HANDLE_VALUE) return;
    const std::wstring withEnd = line + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, withEnd.data(), static_cast<int>(withEnd.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, withEnd.data(), static_cast<int>(withEnd.size()), bytes.data(),
                        n, nullptr, nullptr);
    // One WriteFile per line: a reader never sees half a line from us.
    DWORD written = 0;
    WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace dw::practice
