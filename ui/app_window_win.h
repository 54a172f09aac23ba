#pragma once
// The application's own window: invisible, it carries the one taskbar entry
// "Dealwarden" and owns the three forms (owned windows get no entry of their
// own). Minimizing the entry hides the program's visible windows and tells
// the start window; restoring brings them back.
#include <functional>
#include <vector>

#include "ui/base_window_win.h"

namespace dw {

class AppWindow : public BaseWindow {
public:
    std::function<void()> OnMinimize, OnRestore;

    void Create();
    bool Minimized() const { return minimized_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Minimize();
    void Restore();

    bool minimized_ = false;
    std::vector<HWND> hidden_;  // windows Minimize hid, to show again on Restore
};

}  // namespace dw
