#include "run/docking.h"

#include <algorithm>
#include <cmath>

namespace dw {
namespace {

constexpr int kGap = kDockGap;

// The start of a span of this length moved into [low, high] as far as it
// goes; a span longer than the range starts at low.
int Within(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length));
}

Rect At(int left, int top, int width, int height) {
    return {left, top, left + width, top + std::max(height, 0)};
}

struct Side {
    int start;
    bool over;
};

// Where a window of this length goes along one axis: beyond FreeCell's far
// edge when afterFirst (the score window at its right), else before its near
// edge (the bar above it); where that does not fit, on the other side; where
// neither fits, over FreeCell against its far edge. near/far: FreeCell's
// edges on this axis; low/high: the work area's.
Side Beside(bool afterFirst, int near, int far, int length, int low, int high) {
    const int first = afterFirst ? far + kGap : near - kGap - length;
    const int second = afterFirst ? near - kGap - length : far + kGap;
    const auto fits = [&](int start) { return start >= low && start + length <= high; };
    if (fits(first)) return {first, false};
    if (fits(second)) return {second, false};
    // Over FreeCell, against its far edge or the work area's, whichever comes first.
    return {std::max(std::min(far, high) - kGap - length, low), true};
}

}  // namespace

DockedRects PlaceDocked(const std::optional<FreeCellFrame>& fc, const Rect& work,
                        const DockSizes& s) {
    DockedRects d;
    if (!fc) {
        d.score =
            At(work.right - s.scoreWidth - kGap, work.top + kGap, s.scoreWidth, s.scoreHeight);
        d.bar = At(work.left + kGap, work.top + kGap, s.barWidth, s.barHeight);
        return d;
    }
    const Rect& f = fc->frame;

    // The bar: as wide as FreeCell less 12, never wider than the work area.
    const int barWidth = std::min(f.Width(), work.Width()) - 2 * kGap;
    const int barLeft = Within(f.left + kGap, barWidth, work.left + kGap, work.right - kGap);
    // Above first: the "near" edge is FreeCell's top, the far one its bottom.
    const Side barSide = Beside(false, f.top, f.bottom, s.barHeight, work.top, work.bottom);
    d.bar = At(barLeft, barSide.start, barWidth, s.barHeight);
    d.barOver = barSide.over;

    // The score window: at FreeCell's right first.
    const Side scoreSide = Beside(true, f.left, f.right, s.scoreWidth, work.left, work.right);
    d.scoreOver = scoreSide.over;
    int top = f.top + kGap, bottom = f.bottom - kGap;
    if (scoreSide.over) {
        // Caption and menu stay free, and the bar below, if it is over FreeCell too.
        top = std::max(fc->clientTop, work.top) + kGap;
        bottom = std::min(f.bottom, work.bottom) - kGap;
        if (d.barOver) bottom = std::min(bottom, d.bar.top - kGap);
    }
    // A FreeCell reaching beyond the work area leaves the gap at its edge.
    top = std::max(top, work.top + kGap);
    bottom = std::min(bottom, work.bottom - kGap);
    d.score = At(scoreSide.start, top, s.scoreWidth, bottom - top);
    return d;
}

HistoryHeights HistoryHeightsFor(int clientHeight, int groupBoxTop) {
    const int group = clientHeight - groupBoxTop - 5;
    return {group, group - 20};
}

BarButtons LayOutBarButtons(int clientWidth) {
    // A third never ends in .5, so nearest is unambiguous.
    const int w = static_cast<int>(std::lround((clientWidth - 20) / 3.0));
    return {w, {5, w + 9, 2 * w + 13}};
}

Rect VisibleFrame(const Rect& window, const std::optional<Rect>& reported) {
    if (!reported) return window;
    const Rect& r = *reported;
    const bool inside = r.left >= window.left && r.top >= window.top && r.right <= window.right &&
                        r.bottom <= window.bottom && r.left < r.right && r.top < r.bottom;
    const Insets in = InsetsOf(window, r);
    const bool thin = in.left <= kMaxInvisibleBorder && in.top <= kMaxInvisibleBorder &&
                      in.right <= kMaxInvisibleBorder && in.bottom <= kMaxInvisibleBorder;
    return inside && thin ? r : window;
}

Insets InsetsOf(const Rect& window, const Rect& visible) {
    return {visible.left - window.left, visible.top - window.top, window.right - visible.right,
            window.bottom - visible.bottom};
}

Rect WindowRectFor(const Rect& visible, const Insets& in) {
    return {visible.left - in.left, visible.top - in.top, visible.right + in.right,
            visible.bottom + in.bottom};
}

Rect ScreenFromWorkspace(const Rect& ws, const Rect& monitor, const Rect& work) {
    const int dx = work.left - monitor.left, dy = work.top - monitor.top;
    return {ws.left + dx, ws.top + dy, ws.right + dx, ws.bottom + dy};
}

}  // namespace dw
