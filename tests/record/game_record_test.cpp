#include "record/game_record.h"

#include <gtest/gtest.h>

#include <climits>

namespace dw {
namespace {

struct PercentCase {
    std::int32_t a, b;
    const wchar_t* text;
};

class PercentTextTest : public ::testing::TestWithParam<PercentCase> {};

TEST_P(PercentTextTest, FormatsTheFloatRatioHalfUp) {
    const auto& c = GetParam();
    EXPECT_EQ(TFCGameRecord::PercentText(c.a, c.b), c.text)
        << c.a << " of " << (std::int64_t{c.a} + c.b);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PercentTextTest,
    ::testing::Values(PercentCase{0, 0, L"00.00%"}, PercentCase{1, 19, L"05.00%"},
                      PercentCase{1, 2, L"33.33%"}, PercentCase{2, 1, L"66.67%"},
                      PercentCase{1, 31,
                                  L"03.13%"},  // 3.125 is exact in a float: the half rounds up
                      PercentCase{3, 0, L"100.00%"}, PercentCase{0, 5, L"00.00%"},
                      PercentCase{1, 6, L"14.29%"},  // 14.285714
                      PercentCase{5, 2, L"71.43%"},  // 71.428574
                      PercentCase{1, 5, L"16.67%"},  // 16.666666
                      PercentCase{1, 199, L"00.50%"},
                      PercentCase{1, 799, L"00.13%"},  // 0.125 exact
                      PercentCase{1, 0, L"100.00%"},
                      // 0.145 is not exact: its float is 0.14499999 and must round down.
                      PercentCase{29, 19971, L"00.14%"},
                      // Counts near 2^31 must not wrap when added.
                      PercentCase{INT_MAX, INT_MAX, L"50.00%"}, PercentCase{INT_MAX, 0, L"100.00%"},
                      PercentCase{1, INT_MAX - 1, L"00.00%"},
                      // Negative counts only come from an edited file; shown, not crashed on.
                      PercentCase{-3, 0, L"100.00%"}, PercentCase{3, -3, L"00.00%"},
                      PercentCase{-1, 3, L"-50.00%"}, PercentCase{5, -4, L"500.00%"}));

TEST(StreakTextTest, NamesTheStreakKind) {
    TFCGameRecord r;
    EXPECT_EQ(r.StreakText(), L"0連敗中");
    r.streak = 3;
    r.stype = 1;
    EXPECT_EQ(r.StreakText(), L"3連勝中");
    r.stype = 7;  // only 1 is a winning streak
    EXPECT_EQ(r.StreakText(), L"3連敗中");
}

TEST(CountFailedTryTest, RetryThreeTimesOnAFreshGameBooksOneLoss) {
    TFCGameRecord r;
    r.GameNo = r.WGameNo = 57;
    for (int expectedTry : {2, 3, 4}) {
        r.CountFailedTry();
        EXPECT_EQ(r.TryCnt, expectedTry);
        EXPECT_EQ(r.lost, 1);
        EXPECT_EQ(r.make, 1);
        EXPECT_EQ(r.streak, 1);
        EXPECT_EQ(r.losses, 1);
        EXPECT_EQ(r.stype, 0);
    }
    EXPECT_EQ(r.won + r.kachi + r.wins, 0);
}

struct StreakCase {
    const char* name;
    std::int32_t stype, streak, wins, losses;
    bool win;
    std::int32_t wantStreak, wantStype, wantWins, wantLosses;
};

class StreakRuleTest : public ::testing::TestWithParam<StreakCase> {};

TEST_P(StreakRuleTest, FirstTryOutcomeMovesTheStreak) {
    const auto& c = GetParam();
    TFCGameRecord r;
    r.stype = c.stype;
    r.streak = c.streak;
    r.wins = c.wins;
    r.losses = c.losses;
    if (c.win)
        r.CountWin();
    else
        r.CountFailedTry();
    EXPECT_EQ(r.streak, c.wantStreak);
    EXPECT_EQ(r.stype, c.wantStype);
    EXPECT_EQ(r.wins, c.wantWins);
    EXPECT_EQ(r.losses, c.wantLosses);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StreakRuleTest,
    ::testing::Values(StreakCase{"WinAfterLosingStreakOf4", 0, 4, 0, 4, true, 1, 1, 1, 4},
                      StreakCase{"WinContinuesWinningStreak", 1, 2, 5, 0, true, 3, 1, 5, 0},
                      StreakCase{"WinningStreakSetsRecord", 1, 5, 5, 0, true, 6, 1, 6, 0},
                      StreakCase{"LossAfterWinningStreak", 1, 6, 6, 2, false, 1, 0, 6, 2},
                      StreakCase{"LossContinuesLosingStreak", 0, 2, 0, 2, false, 3, 0, 0, 3},
                      // stype values other than 0/1 come from an edited file: always a new streak.
                      StreakCase{"WinWithStypeTwo", 2, 9, 0, 0, true, 1, 1, 1, 0},
                      StreakCase{"LossWithStypeMinusOne", -1, 9, 0, 0, false, 1, 0, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CountWinTest, FirstTryWinBooksAndAdvances) {
    TFCGameRecord r;
    r.GameNo = r.WGameNo = 57;
    EXPECT_EQ(r.CountWin(), L"57 勝ち");
    EXPECT_EQ(r.hist[0], L"57 勝ち");
    EXPECT_EQ(r.won, 1);
    EXPECT_EQ(r.kachi, 1);
    EXPECT_EQ(r.GameNo, 58);
    EXPECT_EQ(r.WGameNo, 58);
    EXPECT_EQ(r.TryCnt, 1);
}

TEST(CountWinTest, WinOnTheThirdTryOnlyLeavesALine) {
    TFCGameRecord r;
    r.GameNo = r.WGameNo = 57;
    r.CountFailedTry();
    r.CountFailedTry();
    const TFCGameRecord before = r;
    EXPECT_EQ(r.CountWin(), L"57 負け（3回）");
    EXPECT_EQ(r.hist[0], L"57 負け（3回）");
    EXPECT_EQ(r.won, before.won);
    EXPECT_EQ(r.lost, before.lost);
    EXPECT_EQ(r.kachi, before.kachi);
    EXPECT_EQ(r.make, before.make);
    EXPECT_EQ(r.streak, before.streak);
    EXPECT_EQ(r.stype, before.stype);
    EXPECT_EQ(r.wins, before.wins);
    EXPECT_EQ(r.losses, before.losses);
    EXPECT_EQ(r.GameNo, 58);
    EXPECT_EQ(r.TryCnt, 1);
}

TEST(TakeDealNumberTest, WinningTheLastDealWrapsToOne) {
    TFCGameRecord r;
    r.GameNo = r.WGameNo = TFCGameRecord::MaxGNo;
    r.CountWin();
    EXPECT_EQ(r.GameNo, TFCGameRecord::MaxGNo + 1);
    const DealNumber d = r.TakeDealNumber();
    EXPECT_EQ(d.number, 1);
    EXPECT_TRUE(d.wrapped);
    EXPECT_EQ(r.GameNo, 1);
    EXPECT_EQ(r.WGameNo, 1);
    EXPECT_EQ(r.TryCnt, 1);
}

struct DealCase {
    const char* name;
    std::int32_t gameNo, wGameNo, tryCnt;
    std::int32_t wantNumber;
    bool wantWrapped;
    std::int32_t wantTryCnt;
};

class TakeDealNumberTableTest : public ::testing::TestWithParam<DealCase> {};

TEST_P(TakeDealNumberTableTest, Enters) {
    const auto& c = GetParam();
    TFCGameRecord r;
    r.GameNo = c.gameNo;
    r.WGameNo = c.wGameNo;
    r.TryCnt = c.tryCnt;
    const DealNumber d = r.TakeDealNumber();
    EXPECT_EQ(d.number, c.wantNumber);
    EXPECT_EQ(d.wrapped, c.wantWrapped);
    EXPECT_EQ(r.TryCnt, c.wantTryCnt);
    EXPECT_EQ(r.GameNo, c.wantNumber);
    EXPECT_EQ(r.WGameNo, c.wantNumber);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TakeDealNumberTableTest,
    ::testing::Values(DealCase{"SameGameKeepsTry", 57, 57, 3, 57, false, 3},
                      DealCase{"LastDealIsNotWrapped", 1000000, 1000000, 2, 1000000, false, 2},
                      DealCase{"AboveLastDealWraps", 1000001, 1000001, 4, 1, true, 1},
                      DealCase{"LoadedAboveMaxWraps", 2000000, 2000000, 1, 1, true, 1},
                      // only numbers above the last deal wrap: 0 and negatives are entered
                      DealCase{"ZeroIsEntered", 0, 0, 1, 0, false, 1},
                      DealCase{"NegativeIsEntered", -5, -5, 2, -5, false, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CountWinTest, GameNumberAtTheTopOfTheRangeWrapsInsteadOfOverflowing) {
    TFCGameRecord r;
    r.GameNo = r.WGameNo = INT_MAX;
    r.won = INT_MAX;
    r.CountWin();
    EXPECT_EQ(r.won, INT_MAX);
    EXPECT_EQ(r.TakeDealNumber().number, 1);
}

TEST(PushHistTest, TheHundredAndFirstLineDropsTheOldest) {
    TFCGameRecord r;
    for (int i = 1; i <= 101; ++i) r.PushHist(std::to_wstring(i) + L" 勝ち");
    EXPECT_EQ(r.hist.size(), 100u);
    EXPECT_EQ(r.hist[0], L"101 勝ち");
    EXPECT_EQ(r.hist[99], L"2 勝ち");
}

TEST(SetGameNumberTest, OnlyGameNoChanges) {
    TFCGameRecord r;
    r.GameNo = r.WGameNo = 40;
    r.TryCnt = 2;
    r.SetGameNumber(500);
    EXPECT_EQ(r.GameNo, 500);
    EXPECT_EQ(r.WGameNo, 40);
    EXPECT_EQ(r.TryCnt, 2);
}

}  // namespace
}  // namespace dw
