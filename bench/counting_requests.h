#pragma once
// The watcher's requests, only counted: a tick measured with nothing to do
// must ask for nothing.
#include "freecell/watcher.h"

namespace dw::bench {

class CountingRequests final : public IScoreRequests {
public:
    long count = 0;
    void ShowTryCount(std::int32_t) override { ++count; }
    void SetGameBoxToOne() override { ++count; }
    void InsertHistoryLine(const std::wstring&) override { ++count; }
    void Refresh() override { ++count; }
    void HoldInput(bool) override { ++count; }
};

}  // namespace dw::bench
