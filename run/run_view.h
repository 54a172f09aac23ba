#pragma once
// What the run asks of its three windows: the score window's and the control
// bar's requests (the watcher's too), and the start window's.
#include <string>

#include "freecell/watcher.h"

namespace dw {

class IRunView : public IScoreRequests {
public:
    // The start window.
    virtual void SetStartCaption(const std::wstring& caption) = 0;
    virtual void HideStartWindow() = 0;
    // The start button: the control bar and the score window come up, the
    // start window goes for good.
    virtual void ShowPlayWindows() = 0;
    // The message loop ends; only the entry point can do it.
    virtual void EndProgram() = 0;
};

}  // namespace dw
