#include "run/docking.h"

#include <cmath>

namespace dw {

ScorePlacement PlaceScoreWindow(const std::optional<Rect>& fc, const Rect& work, int outerWidth,
                                int outerHeight) {
    if (!fc)
        return {work.right - outerWidth - 2 * kDockMargin, work.top + 2 * kDockMargin, outerHeight};
    return {fc->right + 2 * kDockMargin, fc->top + 2 * kDockMargin,
            fc->Height() - 2 * kDockMargin - 2 * kDockMargin};
}

HistoryHeights HistoryHeightsFor(int clientHeight, int groupBoxTop) {
    const int group = clientHeight - groupBoxTop - 5;
    return {group, group - 20};
}

BarPlacement PlaceControlBar(const std::optional<Rect>& fc, const Rect& work, int outerWidth,
                             int outerHeight) {
    if (!fc) return {work.left + 2 * kDockMargin, work.top + 2 * kDockMargin, outerWidth};
    return {fc->left + kDockMargin + kDockMargin, fc->top - outerHeight - kDockMargin - kDockMargin,
            fc->Width() - 2 * kDockMargin - 2 * kDockMargin};
}

BarButtons LayOutBarButtons(int clientWidth) {
    // A third never ends in .5, so nearest is unambiguous.
    const int w = static_cast<int>(std::lround((clientWidth - 20) / 3.0));
    return {w, {5, w + 9, 2 * w + 13}};
}

}  // namespace dw
