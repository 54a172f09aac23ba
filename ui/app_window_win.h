#pragma once
// The application's own window: invisible, it carries the one taskbar entry
// "Dealwarden" and owns the three forms (owned windows get no entry of their
// own). Minimizing the entry hides the program's visible windows and tells
// the start window; restoring brings them back; closing it is one of the
// ways to quit. A second copy of the program finds it by its class.
#include <functional>
#include <vector>

#include "win/base_window_win.h"

namespace dw {

inline constexpr wchar_t kAppWindowClass[] = L"DealwardenApplication";
// Posted to the running copy's application window by a copy started after it.
inline constexpr wchar_t kAnotherCopyMessage[] = L"Dealwarden.AnotherCopy";

class AppWindow : public BaseWindow {
public:
    std::function<void()> OnMinimize, OnRestore, OnClose, OnAnotherCopy;

    void Create();
    bool Minimized() const { return minimized_; }
    void Restore();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Minimize();

    UINT anotherCopy_ = RegisterWindowMessageW(kAnotherCopyMessage);
    bool minimized_ = false;
    std::vector<HWND> hidden_;  // windows Minimize hid, to show again on Restore
};

}  // namespace dw
