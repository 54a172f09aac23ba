#include <gtest/gtest.h>

#include "run/docking.h"

namespace dw {
namespace {

const Rect kWork{0, 0, 1280, 994};

TEST(PlaceScoreWindowTest, StandsAgainstFreeCellsRightEdgeTwelvePixelsShorter) {
    const Rect fc{100, 150, 900, 750};  // 800 x 600
    EXPECT_EQ(PlaceScoreWindow(fc, kWork, 161, 480), (ScorePlacement{906, 156, 588}));
}

TEST(PlaceScoreWindowTest, WithoutFreeCellGoesToTheWorkAreasTopRightAtItsOwnHeight) {
    EXPECT_EQ(PlaceScoreWindow(std::nullopt, kWork, 161, 480),
              (ScorePlacement{1280 - 161 - 6, 6, 480}));
    EXPECT_EQ(PlaceScoreWindow(std::nullopt, Rect{0, 40, 1280, 1024}, 161, 480),
              (ScorePlacement{1113, 46, 480}));
}

TEST(HistoryHeightsTest, HistoryTakesTheRestOfTheClientArea) {
    EXPECT_EQ(HistoryHeightsFor(430, 253), (HistoryHeights{172, 152}));
    EXPECT_EQ(HistoryHeightsFor(540, 253), (HistoryHeights{282, 262}));
}

TEST(PlaceControlBarTest, LiesAlongFreeCellsTopEdgeSixPixelsAbove) {
    const Rect fc{100, 150, 900, 750};
    EXPECT_EQ(PlaceControlBar(fc, kWork, 351, 64), (BarPlacement{106, 150 - 64 - 6, 788}));
}

TEST(PlaceControlBarTest, WithoutFreeCellGoesToTheWorkAreasTopLeft) {
    EXPECT_EQ(PlaceControlBar(std::nullopt, Rect{0, 30, 1280, 1024}, 351, 64),
              (BarPlacement{6, 36, 351}));
}

struct ButtonsCase {
    int clientWidth;
    BarButtons want;
};

class BarButtonsTest : public ::testing::TestWithParam<ButtonsCase> {};

TEST_P(BarButtonsTest, ThreeEqualButtonsWithFourPixelGaps) {
    EXPECT_EQ(LayOutBarButtons(GetParam().clientWidth), GetParam().want) << GetParam().clientWidth;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BarButtonsTest,
    ::testing::Values(ButtonsCase{345, {108, {5, 117, 229}}},  // 108.33 rounds down
                      ButtonsCase{782,
                                  {254, {5, 263, 521}}},  // a 788-wide bar's client: 254 exactly
                      ButtonsCase{781, {254, {5, 263, 521}}},  // 253.67 rounds up
                      ButtonsCase{780, {253, {5, 262, 519}}},  // 253.33 rounds down
                      ButtonsCase{20, {0, {5, 9, 13}}}));

}  // namespace
}  // namespace dw
