#pragma once
// The score window's requests — the watcher's to the run, the run's to its
// windows — written into a log, the window system's own where a test wants
// their order among its calls. Written once for both interfaces, which name
// them alike.
#include <string>
#include <vector>

#include "freecell/watcher.h"

namespace dw::testing {

template <class Requests>
class RecordsScoreRequests : public Requests {
public:
    explicit RecordsScoreRequests(std::vector<std::wstring>& log) : log_(log) {}
    void ShowTryCount(std::int32_t n) override {
        log_.push_back(L"ShowTryCount " + std::to_wstring(n));
    }
    void SetGameBoxToOne() override { log_.push_back(L"SetGameBoxToOne"); }
    void InsertHistoryLine(const std::wstring& line) override { log_.push_back(L"Insert " + line); }
    void Refresh() override { log_.push_back(L"Refresh"); }
    void HoldInput(bool held) override { log_.push_back(held ? L"Hold" : L"Release"); }

protected:
    std::vector<std::wstring>& log_;
};

using RecordingRequests = RecordsScoreRequests<IScoreRequests>;

// A tick's outcome in the same log: "Close" when it found FreeCell gone.
inline void RecordOutcome(const TickOutcome& outcome, std::vector<std::wstring>& log) {
    if (outcome.freeCellGone) log.push_back(L"Close");
}

}  // namespace dw::testing
