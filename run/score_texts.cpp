#include "run/score_texts.h"

namespace dw {

std::vector<std::pair<ScoreField, std::wstring>> HyoujiTexts(const TFCGameRecord& r) {
    using F = ScoreField;
    return {{F::SpinEdit1, std::to_wstring(r.GameNo)},
            {F::Label1, std::to_wstring(r.TryCnt)},
            {F::Label13, TFCGameRecord::PercentText(r.kachi, r.make)},
            {F::Label16, std::to_wstring(r.kachi)},
            {F::Label17, std::to_wstring(r.make)},
            {F::Label9, TFCGameRecord::PercentText(r.won, r.lost)},
            {F::Label18, std::to_wstring(r.won)},
            {F::Label19, std::to_wstring(r.lost)},
            {F::Label20, std::to_wstring(r.wins)},
            {F::Label21, std::to_wstring(r.losses)},
            {F::Label11, r.StreakText()}};
}

std::vector<std::wstring> HistoryLines(const TFCGameRecord& r) {
    std::vector<std::wstring> lines;
    for (const auto& h : r.hist)
        if (!h.empty()) lines.push_back(h);
    return lines;
}

}  // namespace dw
