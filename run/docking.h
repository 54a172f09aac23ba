#pragma once
// Where the score window and the control bar go against FreeCell's window:
// plain arithmetic on rectangles, so it is checked without a screen.
#include <optional>

namespace dw {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

inline constexpr int kDockMargin = 3;

struct ScorePlacement {
    int left, top, height;  // the window's outer rectangle; its width is kept
    bool operator==(const ScorePlacement&) const = default;
};

// The score window stands against FreeCell's right edge, 12 pixels shorter.
// Without FreeCell's rectangle it goes to the top right of the work area at
// its own height.
ScorePlacement PlaceScoreWindow(const std::optional<Rect>& freecell, const Rect& workArea,
                                int outerWidth, int outerHeight);

// The history group and the box inside it take up the height the window
// gained or lost, given the window's client height after placing it.
struct HistoryHeights {
    int groupBox, memo;
    bool operator==(const HistoryHeights&) const = default;
};
HistoryHeights HistoryHeightsFor(int clientHeight, int groupBoxTop);

struct BarPlacement {
    int left, top, width;  // outer rectangle; its height is kept
    bool operator==(const BarPlacement&) const = default;
};

// The control bar lies along FreeCell's top edge, ending 6 pixels above it,
// 12 pixels narrower. Without FreeCell it goes to the top left of the work area.
BarPlacement PlaceControlBar(const std::optional<Rect>& freecell, const Rect& workArea,
                             int outerWidth, int outerHeight);

struct BarButtons {
    int width;
    int lefts[3];
    bool operator==(const BarButtons&) const = default;
};
// Three equal buttons with 4-pixel gaps across the bar's client width.
BarButtons LayOutBarButtons(int clientWidth);

}  // namespace dw
