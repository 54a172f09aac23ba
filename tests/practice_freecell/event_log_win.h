#pragma once
// The practice FreeCell's event log: one UTF-8 line per event, appended and
// written through at once so a test in another process sees it immediately.
#include <windows.h>

#include <string>

namespace dw::practice {

class EventLog {
public:
    explicit EventLog(const std::wstring& path);
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;
    ~EventLog();

    void Write(const std::wstring& line);

private:
    HANDLE file_;
};

}  // namespace dw::practice
