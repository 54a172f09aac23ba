#include "run/freecell_follower.h"

namespace dw {

bool FreeCellFollower::RestoreBeforeAsking(WindowHandle fcHnd) {
    const FreeCellOnScreen seen = screen_.Look(fcHnd);
    restoring_ = seen.present && seen.minimized;
    return restoring_;
}

void FreeCellFollower::PlaceNow(WindowHandle fcHnd) {
    Follow(fcHnd, screen_.Look(fcHnd), true);
}

void FreeCellFollower::Look(WindowHandle fcHnd, LookCause cause) {
    FreeCellOnScreen seen = screen_.Look(fcHnd);
    // Gone: nothing to dock to, and the watcher ends the run.
    if (!seen.present) return;
    if (restoring_ && (!seen.minimized || cause == LookCause::Heartbeat)) restoring_ = false;
    Follow(fcHnd, seen, false);
}

void FreeCellFollower::Follow(WindowHandle fcHnd, const FreeCellOnScreen& seen, bool force) {
    const bool minimized = seen.present && seen.minimized && !restoring_;
    if (minimized) {
        if (!away_) {
            away_ = true;
            scoreWasShown_ = windows_.Shown(DockedWindow::Score);
            barWasShown_ = windows_.Shown(DockedWindow::Bar);
            if (scoreWasShown_) windows_.Show(DockedWindow::Score, false);
            if (barWasShown_) windows_.Show(DockedWindow::Bar, false);
        }
        last_ = seen;
        looked_ = true;
        return;
    }
    const DockSizes sizes = windows_.Sizes();
    const bool back = away_;
    if (force || back || !looked_ || seen != last_ || sizes != lastSizes_) Place(seen, sizes);
    if (back) {
        away_ = false;
        if (scoreWasShown_) windows_.Show(DockedWindow::Score, true);
        if (barWasShown_) windows_.Show(DockedWindow::Bar, true);
    }
    last_ = seen;
    looked_ = true;
    // The player may have brought FreeCell to the front since.
    if (placed_.scoreOver && windows_.Shown(DockedWindow::Score))
        windows_.KeepInFront(DockedWindow::Score, fcHnd);
    if (placed_.barOver && windows_.Shown(DockedWindow::Bar))
        windows_.KeepInFront(DockedWindow::Bar, fcHnd);
}

void FreeCellFollower::Place(const FreeCellOnScreen& seen, const DockSizes& sizes) {
    const std::optional<FreeCellFrame> frame =
        seen.present ? std::optional<FreeCellFrame>(seen.frame) : std::nullopt;
    placed_ = PlaceDocked(frame, seen.workArea, sizes);
    lastSizes_ = sizes;
    windows_.Place(placed_);
}

}  // namespace dw
