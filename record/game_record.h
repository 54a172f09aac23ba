#pragma once
// The player's progress through FreeCell's numbered deals and the rules that
// change it. Plain data: the watcher, the retry button and the score window
// apply the rules; the settings file keeps the stored fields between runs.
#include <array>
#include <cstdint>
#include <string>

namespace dw {

struct DealNumber {
    std::int32_t number;  // the number to type into the select-game dialog
    bool wrapped;         // true when the run went past the last deal back to 1
};

class TFCGameRecord {
public:
    static constexpr std::int32_t MaxGNo = 1000000;  // FreeCell's highest deal
    static constexpr int HistSize = 100;

    std::int32_t GameNo = 1;   // deal being played
    std::int32_t WGameNo = 1;  // deal to enter at the next select-game dialog
    std::int32_t TryCnt = 1;   // 1 = first try of GameNo
    std::int32_t won = 0;      // first-try wins, all runs
    std::int32_t lost = 0;     // first-try failures, all runs
    std::int32_t wins = 0;     // longest winning streak
    std::int32_t losses = 0;   // longest losing streak
    std::int32_t streak = 0;   // length of the current streak
    std::int32_t stype = 0;    // 1 = winning streak, 0 = losing (others: from an edited file)
    std::int32_t kachi = 0;    // first-try wins, this run
    std::int32_t make = 0;     // first-try failures, this run
    std::array<std::wstring, HistSize> hist;  // [0] most recent; empty = no entry

    void CountFailedTry();
    std::wstring CountWin();  // returns the history line it pushed
    DealNumber TakeDealNumber();
    void PushHist(const std::wstring& line);
    void SetGameNumber(std::int32_t n);

    static std::wstring PercentText(std::int32_t a, std::int32_t b);
    std::wstring StreakText() const;

    bool operator==(const TFCGameRecord&) const = default;
};

}  // namespace dw
