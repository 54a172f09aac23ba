#pragma once
// What the score window shows, field by field, in the order it refreshes
// them: a refresh replaces whatever the player typed into the number box.
#include <string>
#include <utility>
#include <vector>

#include "record/game_record.h"

namespace dw {

enum class ScoreField {
    SpinEdit1,
    Label1,
    Label13,
    Label16,
    Label17,
    Label9,
    Label18,
    Label19,
    Label20,
    Label21,
    Label11
};

std::vector<std::pair<ScoreField, std::wstring>> HyoujiTexts(const TFCGameRecord& r);

// The history box's lines, newest first. A gap among the stored entries
// (only an edited file can hold one) is skipped, so the box never shows
// blank lines between results.
std::vector<std::wstring> HistoryLines(const TFCGameRecord& r);

}  // namespace dw
