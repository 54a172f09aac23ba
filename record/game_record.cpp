#include "record/game_record.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace dw {
namespace {

// Counters loaded from an edited file may sit at the top of the range; a
// booking must never wrap them to a negative record.
void Inc(std::int32_t& v) {
    if (v < std::numeric_limits<std::int32_t>::max()) ++v;
}

}  // namespace

void TFCGameRecord::CountFailedTry() {
    if (TryCnt == 1) {
        Inc(make);
        Inc(lost);
        if (stype == 0)
            Inc(streak);
        else
            streak = 1;
        if (streak > losses) losses = streak;
        stype = 0;
    }
    Inc(TryCnt);
}

std::wstring TFCGameRecord::CountWin() {
    std::wstring line;
    if (TryCnt == 1) {
        Inc(kachi);
        Inc(won);
        if (stype == 1)
            Inc(streak);
        else
            streak = 1;
        stype = 1;
        if (streak > wins) wins = streak;
        line = std::to_wstring(GameNo) + L" 勝ち";
    } else {
        line = std::to_wstring(GameNo) + L" 負け（" + std::to_wstring(TryCnt) + L"回）";
    }
    PushHist(line);
    // Past the last deal the next select-game dialog wraps to 1; a GameNo at
    // the top of the 32-bit range must land there too rather than overflow.
    GameNo = GameNo < std::numeric_limits<std::int32_t>::max() ? GameNo + 1 : MaxGNo + 1;
    WGameNo = GameNo;
    TryCnt = 1;
    return line;
}

DealNumber TFCGameRecord::TakeDealNumber() {
    if (GameNo != WGameNo) TryCnt = 1;
    bool wrapped = false;
    if (WGameNo > MaxGNo) {
        GameNo = WGameNo = TryCnt = 1;
        wrapped = true;
    } else {
        GameNo = WGameNo;
    }
    return {GameNo, wrapped};
}

void TFCGameRecord::PushHist(const std::wstring& line) {
    for (int i = HistSize - 1; i > 0; --i) hist[i] = std::move(hist[i - 1]);
    hist[0] = line;
}

void TFCGameRecord::SetGameNumber(std::int32_t n) {
    GameNo = n;
}

std::wstring TFCGameRecord::PercentText(std::int32_t a, std::int32_t b) {
    // The sum is taken in 64 bits: counts near 2^31 from an edited file must
    // not wrap into a wrong ratio.
    const std::int64_t total = std::int64_t{a} + b;
    float value = 0.0f;
    if (total != 0)
        value = static_cast<float>(static_cast<double>(a) / static_cast<double>(total) * 100.0);
    // Round the float's exact value half away from zero at the second
    // decimal; value * 100 is exact in double (24 + 7 significant bits).
    const double scaled = std::fabs(static_cast<double>(value)) * 100.0;
    const auto cents = static_cast<std::int64_t>(std::floor(scaled + 0.5));
    wchar_t buf[48];
    std::swprintf(buf, 48, L"%ls%02lld.%02lld%%", (value < 0 && cents != 0) ? L"-" : L"",
                  static_cast<long long>(cents / 100), static_cast<long long>(cents % 100));
    return buf;
}

std::wstring TFCGameRecord::StreakText() const {
    return std::to_wstring(streak) + (stype == 1 ? L"連勝中" : L"連敗中");
}

}  // namespace dw
