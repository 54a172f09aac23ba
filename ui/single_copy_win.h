#pragma once
// One copy of the program per Windows session: there is one FreeCell to
// watch and one record to keep. A copy started while another runs (from any
// folder) reads no settings and watches nothing: it hands over to the
// running copy, which brings its window to the front, and ends.
#include <windows.h>

#include "win/handles_win.h"

namespace dw {

// Held from start to exit by the copy that runs.
class SingleCopyLock {
public:
    SingleCopyLock();
    // false: another copy of the program holds it.
    bool Held() const { return held_; }

private:
    win::UniqueHandle mutex_;
    bool held_ = false;
};

// Asks the running copy to bring its window to the front (letting it take
// the foreground, which the copy the player just started may give away).
// The running copy may still be starting: its application window is waited
// for a few seconds at most.
void HandOverToRunningCopy();

}  // namespace dw
