#pragma once
// Where the score window and the control bar go against FreeCell's window:
// plain arithmetic on rectangles, so it is checked without a screen. Every
// rectangle here is a visible frame (what the player sees of a window, its
// invisible borders left out) in screen coordinates.
#include <optional>

namespace dw {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

inline constexpr int kDockMargin = 3;
// The gap between FreeCell and a docked window, and between a docked window
// and the work area's edge where it stands over FreeCell.
inline constexpr int kDockGap = 2 * kDockMargin;

// FreeCell's window as the docked windows see it.
struct FreeCellFrame {
    Rect frame;         // its visible frame
    int clientTop = 0;  // where its caption and menu end: below, the cards
    bool operator==(const FreeCellFrame&) const = default;
};

// The docked windows' visible sizes now. The score window keeps its width,
// the bar its height; the other two count only without FreeCell.
struct DockSizes {
    int scoreWidth = 0, scoreHeight = 0, barWidth = 0, barHeight = 0;
    bool operator==(const DockSizes&) const = default;
};

struct DockedRects {
    Rect score, bar;
    // No room beside FreeCell: the window stands over it, and is kept in front of it.
    bool scoreOver = false, barOver = false;
    bool operator==(const DockedRects&) const = default;
};

// Both windows inside the work area of FreeCell's monitor. The score window
// stands against FreeCell's right edge, 12 pixels shorter; where that does
// not fit, against its left edge; where neither fits, over FreeCell at the
// work area's right edge, below FreeCell's caption and menu. The bar lies
// along FreeCell's top edge, ending 6 pixels above it, 12 pixels narrower;
// where there is no room above, 6 pixels below FreeCell; where neither fits,
// over FreeCell at the work area's bottom edge (the score window then ends
// above it). Without FreeCell: the score window at the work area's top
// right, the bar at its top left, at their own sizes.
DockedRects PlaceDocked(const std::optional<FreeCellFrame>& freecell, const Rect& workArea,
                        const DockSizes& sizes);

// The history group and the box inside it take up the height the window
// gained or lost, given the window's client height after placing it.
struct HistoryHeights {
    int groupBox, memo;
    bool operator==(const HistoryHeights&) const = default;
};
HistoryHeights HistoryHeightsFor(int clientHeight, int groupBoxTop);

struct BarButtons {
    int width;
    int lefts[3];
    bool operator==(const BarButtons&) const = default;
};
// Three equal buttons with 4-pixel gaps across the bar's client width.
BarButtons LayOutBarButtons(int clientWidth);

// --- frames as Windows reports them ------------------------------------------

// How far a window's rectangle reaches beyond its visible frame (Windows 10
// and 11 draw resize borders nobody sees).
struct Insets {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Insets&) const = default;
};

// A window's visible frame from its rectangle and the frame the desktop
// window manager reports, when it reports one. A reported frame that does not
// lie inside the rectangle, or leaves more than kMaxInvisibleBorder of it on
// a side, is no frame of this window (a scaled or stale one): the rectangle.
inline constexpr int kMaxInvisibleBorder = 16;
Rect VisibleFrame(const Rect& window, const std::optional<Rect>& reported);
Insets InsetsOf(const Rect& window, const Rect& visible);
// The window rectangle whose visible frame is visible.
Rect WindowRectFor(const Rect& visible, const Insets& insets);

// The screen rectangle of a window's restored place, given in workspace
// coordinates (those of a minimized window's placement: measured from the
// top left of its monitor's work area), with that monitor's rectangle and
// work area.
Rect ScreenFromWorkspace(const Rect& workspace, const Rect& monitor, const Rect& workArea);

}  // namespace dw
