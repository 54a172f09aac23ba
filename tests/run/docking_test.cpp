#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "run/docking.h"

namespace dw {
namespace {

const Rect kWork{0, 0, 1280, 994};
// The score window 161 x 480, the bar 351 x 64: visible sizes as created.
const DockSizes kSizes{161, 480, 351, 64};
// FreeCell's caption and menu: 42 pixels below its frame's top.
FreeCellFrame At(const Rect& frame) {
    return {frame, frame.top + 42};
}

TEST(PlaceScoreWindowTest, StandsAgainstFreeCellsRightEdgeTwelvePixelsShorter) {
    const Rect fc{100, 150, 900, 750};  // 800 x 600
    const DockedRects d = PlaceDocked(At(fc), kWork, kSizes);
    EXPECT_EQ(d.score, (Rect{906, 156, 906 + 161, 156 + 588}));
    EXPECT_FALSE(d.scoreOver);
}

TEST(PlaceScoreWindowTest, WithoutFreeCellGoesToTheWorkAreasTopRightAtItsOwnHeight) {
    EXPECT_EQ(PlaceDocked(std::nullopt, kWork, kSizes).score,
              (Rect{1280 - 161 - 6, 6, 1280 - 6, 6 + 480}));
    EXPECT_EQ(PlaceDocked(std::nullopt, Rect{0, 40, 1280, 1024}, kSizes).score,
              (Rect{1113, 46, 1113 + 161, 46 + 480}));
}

TEST(HistoryHeightsTest, HistoryTakesTheRestOfTheClientArea) {
    EXPECT_EQ(HistoryHeightsFor(430, 253), (HistoryHeights{172, 152}));
    EXPECT_EQ(HistoryHeightsFor(540, 253), (HistoryHeights{282, 262}));
}

TEST(PlaceControlBarTest, LiesAlongFreeCellsTopEdgeSixPixelsAbove) {
    const Rect fc{100, 150, 900, 750};
    const DockedRects d = PlaceDocked(At(fc), kWork, kSizes);
    EXPECT_EQ(d.bar, (Rect{106, 150 - 64 - 6, 106 + 788, 150 - 6}));
    EXPECT_FALSE(d.barOver);
}

TEST(PlaceControlBarTest, WithoutFreeCellGoesToTheWorkAreasTopLeft) {
    EXPECT_EQ(PlaceDocked(std::nullopt, Rect{0, 30, 1280, 1024}, kSizes).bar,
              (Rect{6, 36, 6 + 351, 36 + 64}));
}

// --- where FreeCell leaves no room beside it ----------------------------------

struct PlaceCase {
    const char* name;
    Rect work;
    Rect freecell;
    DockedRects want;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.name;
}

bool Inside(const Rect& r, const Rect& area) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
           r.bottom <= area.bottom;
}
bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

const PlaceCase kPlaceCases[] = {
    // The practice FreeCell (640 x 480) at top 10: no room above for the bar.
    {"TopEdgeBarBelow",
     kWork,
     {200, 10, 840, 490},
     {{846, 16, 1007, 484}, {206, 496, 834, 560}, false, false}},
    // Against the screen's right edge: the score window at FreeCell's left.
    {"RightEdgeScoreAtTheLeft",
     kWork,
     {640, 150, 1280, 630},
     {{473, 156, 634, 624}, {646, 80, 1274, 144}, false, false}},
    {"TopRightCornerBoth",
     kWork,
     {640, 10, 1280, 490},
     {{473, 16, 634, 484}, {646, 496, 1274, 560}, false, false}},
    // Maximized: over FreeCell, the score window at the right edge below the
    // caption and menu, the bar at the bottom edge, the score window above it.
    {"MaximizedOverFreeCell",
     kWork,
     {0, 0, 1280, 994},
     {{1113, 48, 1274, 918}, {6, 924, 1274, 988}, true, true}},
    // Maximized as Windows reports a frame reaching past the monitor's edges.
    {"MaximizedFrameBeyondTheWorkArea",
     kWork,
     {-8, -8, 1288, 1002},
     {{1113, 40, 1274, 918}, {6, 924, 1274, 988}, true, true}},
    // A second monitor left of the primary one: negative coordinates, and
    // its own right edge (the primary monitor beyond it does not count).
    {"SecondMonitorAtTheLeft",
     {-1280, 0, 0, 1024},
     {-700, 100, -60, 580},
     {{-867, 106, -706, 574}, {-694, 30, -66, 94}, false, false}},
    {"TaskbarAtTheTop",
     {0, 40, 1280, 1024},
     {200, 60, 840, 540},
     {{846, 66, 1007, 534}, {206, 546, 834, 610}, false, false}},
    // A taskbar at the left takes the room at FreeCell's left too.
    {"TaskbarAtTheLeftScoreOver",
     {60, 0, 1280, 1024},
     {180, 150, 1280, 630},
     {{1113, 198, 1274, 624}, {186, 80, 1274, 144}, true, false}},
    // Partly under a taskbar at the left: the bar starts inside the work area.
    {"PartlyUnderTheTaskbarAtTheLeft",
     {60, 0, 1280, 1024},
     {20, 150, 660, 630},
     {{666, 156, 827, 624}, {66, 80, 694, 144}, false, false}},
    // Reaching below the screen: the score window ends inside the work area.
    {"TallerThanTheScreen",
     kWork,
     {100, 300, 740, 1100},
     {{746, 306, 907, 988}, {106, 230, 734, 294}, false, false}},
};

class PlaceDockedTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceDockedTest, BothWindowsOnTheWorkAreaAndOverFreeCellOnlyWhereNothingElseFits) {
    const PlaceCase& c = GetParam();
    const DockedRects d = PlaceDocked(At(c.freecell), c.work, kSizes);
    EXPECT_EQ(d, c.want);
    EXPECT_TRUE(Inside(d.score, c.work));
    EXPECT_TRUE(Inside(d.bar, c.work));
    EXPECT_EQ(Overlap(d.score, c.freecell), d.scoreOver);
    EXPECT_EQ(Overlap(d.bar, c.freecell), d.barOver);
    EXPECT_FALSE(Overlap(d.score, d.bar));
    // Over FreeCell, its caption and menu stay free.
    if (d.scoreOver) {
        EXPECT_GE(d.score.top, c.freecell.top + 42);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PlaceDockedTest, ::testing::ValuesIn(kPlaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- frames as Windows reports them ----------------------------------------------

struct FrameCase {
    const char* name;
    Rect window;
    std::optional<Rect> reported;
    Rect want;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
    *os << c.name;
}

const FrameCase kFrameCases[] = {
    {"NothingReported", {100, 150, 740, 630}, std::nullopt, {100, 150, 740, 630}},
    // Windows 10: 7 invisible pixels left, right and below.
    {"InvisibleBorders", {93, 150, 747, 637}, Rect{100, 150, 740, 630}, {100, 150, 740, 630}},
    {"SameAsTheWindow", {100, 150, 740, 630}, Rect{100, 150, 740, 630}, {100, 150, 740, 630}},
    // Physical pixels of a scaled display, not converted: not this window's frame.
    {"Scaled", {100, 150, 740, 630}, Rect{150, 225, 1110, 945}, {100, 150, 740, 630}},
    {"FarInside", {100, 150, 740, 630}, Rect{140, 150, 700, 630}, {100, 150, 740, 630}},
    {"Empty", {100, 150, 740, 630}, Rect{0, 0, 0, 0}, {100, 150, 740, 630}},
};

class VisibleFrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(VisibleFrameTest, TheReportedFrameOnlyWhereItCanBeThisWindows) {
    EXPECT_EQ(VisibleFrame(GetParam().window, GetParam().reported), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Table, VisibleFrameTest, ::testing::ValuesIn(kFrameCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VisibleFrameTest, OurOwnInvisibleBordersAreAddedBackWherePlaced) {
    const Rect window{93, 150, 747, 637}, visible{100, 150, 740, 630};
    const Insets in = InsetsOf(window, visible);
    EXPECT_EQ(in, (Insets{7, 0, 7, 7}));
    EXPECT_EQ(WindowRectFor(Rect{906, 156, 1067, 744}, in), (Rect{899, 156, 1074, 751}));
}

// A minimized window's restored place is given from the work area's top left.
TEST(ScreenFromWorkspaceTest, TheTaskbarAtTheTopOrLeftIsAddedBack) {
    const Rect restored{200, 150, 840, 630};
    const Rect primary{0, 0, 1280, 1024};
    EXPECT_EQ(ScreenFromWorkspace(restored, primary, {0, 0, 1280, 984}), restored);
    EXPECT_EQ(ScreenFromWorkspace(restored, primary, {0, 40, 1280, 1024}),
              (Rect{200, 190, 840, 670}));
    EXPECT_EQ(ScreenFromWorkspace(restored, primary, {60, 0, 1280, 1024}),
              (Rect{260, 150, 900, 630}));
    // On a monitor left of the primary one, with its taskbar at the left.
    EXPECT_EQ(
        ScreenFromWorkspace({-1180, 100, -540, 580}, {-1280, 0, 0, 1024}, {-1220, 0, 0, 1024}),
        (Rect{-1120, 100, -480, 580}));
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
