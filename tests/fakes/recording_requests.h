#pragma once
// The watcher's requests to the user interface, written into a log — the
// window system's own log, where a test wants their order among its calls.
#include <string>
#include <vector>

#include "freecell/watcher.h"

namespace dw::testing {

class RecordingRequests : public IWatcherRequests {
public:
    explicit RecordingRequests(std::vector<std::wstring>& log) : log_(log) {}
    void ShowTryCount(std::int32_t n) override {
        log_.push_back(L"ShowTryCount " + std::to_wstring(n));
    }
    void SetGameBoxToOne() override { log_.push_back(L"SetGameBoxToOne"); }
    void InsertHistoryLine(const std::wstring& line) override { log_.push_back(L"Insert " + line); }
    void Refresh() override { log_.push_back(L"Refresh"); }
    void CloseProgram() override { log_.push_back(L"Close"); }
    void HoldInput(bool held) override { log_.push_back(held ? L"Hold" : L"Release"); }

private:
    std::vector<std::wstring>& log_;
};

}  // namespace dw::testing
