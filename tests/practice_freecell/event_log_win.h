#pragma once
// The practice FreeCell's event log: one UTF-8 line per event, appended and
// written through at once so a test in another process sees it immediately.
// A second, optional file gets the same lines with the time of each, for
// measuring how long another program took to answer.
#include <windows.h>

#include <string>

#include "win/handles_win.h"

namespace dw::practice {

class EventLog {
public:
    // timesPath empty: no timed copy.
    EventLog(const std::wstring& path, const std::wstring& timesPath = L"");
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    void Write(const std::wstring& line);

private:
    win::UniqueHandle file_;
    win::UniqueHandle times_;
};

}  // namespace dw::practice
