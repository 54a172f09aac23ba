#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "run/score_texts.h"
#include "run/spin_rules.h"

namespace dw {
namespace {

TEST(SpinRulesTest, TypingAcceptsDigitsSignsAndTheDecimalSeparatorOnly) {
    for (wchar_t c : std::wstring(L"0123456789+-,\b"))
        EXPECT_TRUE(SpinAcceptsChar(c, L',')) << int(c);
    for (wchar_t c : std::wstring(L"a.xZ ０")) EXPECT_FALSE(SpinAcceptsChar(c, L',')) << int(c);
    EXPECT_TRUE(SpinAcceptsChar(L'.', L'.'));
    EXPECT_TRUE(SpinAcceptsChar(0x16, L'.')) << "Ctrl+V reaches the edit";
}

TEST(SpinRulesTest, LosingFocusBringsTheTextIntoRange) {
    const std::pair<std::wstring, std::int32_t> cases[] = {
        {L"500", 500}, {L"0", 1},   {L"-3", 1}, {L"1000001", 1000000}, {L"99999999999", 1},
        {L"", 1},      {L"1.5", 1}, {L"+7", 7}, {L"1000000", 1000000},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ClampSpinValue(text), value) << text.size();
}

TEST(SpinRulesTest, ArrowsStepWithinRange) {
    EXPECT_EQ(StepSpinValue(L"5", 1), 6);
    EXPECT_EQ(StepSpinValue(L"1", -1), 1);
    EXPECT_EQ(StepSpinValue(L"1000000", 1), 1000000);
    EXPECT_EQ(StepSpinValue(L"abc", 1), 2);
}

TEST(SpinRulesTest, TheMenuCommandReadsADecimalIntegerUnclamped) {
    EXPECT_EQ(ParseDecimalInt(L"500"), 500);
    EXPECT_EQ(ParseDecimalInt(L"0"), 0);
    EXPECT_EQ(ParseDecimalInt(L"-12"), -12);
    EXPECT_EQ(ParseDecimalInt(L"+12"), 12);
    EXPECT_EQ(ParseDecimalInt(L"2000000"), 2000000);
    EXPECT_EQ(ParseDecimalInt(L"-2147483648"), INT32_MIN);
    for (const wchar_t* bad :
         {L"", L"-", L"1.5", L"12a", L" 5", L"2147483648", L"99999999999999999999"})
        EXPECT_EQ(ParseDecimalInt(bad), std::nullopt) << bad;
}

TEST(HyoujiTextsTest, RefreshesEveryValueInOrderNumberBoxFirst) {
    TFCGameRecord r;
    r.GameNo = 58;
    r.TryCnt = 2;
    r.kachi = 1;
    r.make = 2;
    r.won = 10;
    r.lost = 30;
    r.wins = 4;
    r.losses = 7;
    r.streak = 2;
    r.stype = 0;
    using F = ScoreField;
    EXPECT_THAT(
        HyoujiTexts(r),
        ::testing::ElementsAre(
            std::pair{F::SpinEdit1, std::wstring(L"58")}, std::pair{F::Label1, std::wstring(L"2")},
            std::pair{F::Label13, std::wstring(L"33.33%")},
            std::pair{F::Label16, std::wstring(L"1")}, std::pair{F::Label17, std::wstring(L"2")},
            std::pair{F::Label9, std::wstring(L"25.00%")},
            std::pair{F::Label18, std::wstring(L"10")}, std::pair{F::Label19, std::wstring(L"30")},
            std::pair{F::Label20, std::wstring(L"4")}, std::pair{F::Label21, std::wstring(L"7")},
            std::pair{F::Label11, std::wstring(L"2連敗中")}));
}

TEST(HistoryLinesTest, ListsNewestFirstAndSkipsGapsFromAnEditedFile) {
    TFCGameRecord r;
    r.hist[0] = L"3 勝ち";
    r.hist[1] = L"2 負け（2回）";
    r.hist[3] = L"1 勝ち";  // hist[2] empty: a gap
    EXPECT_THAT(HistoryLines(r), ::testing::ElementsAre(L"3 勝ち", L"2 負け（2回）", L"1 勝ち"));
}

}  // namespace
}  // namespace dw
