#pragma once
// The one window base: a static procedure finds the object stored at
// WM_NCCREATE and forwards to its HandleMessage. Exceptions stop here: they
// are shown in the general error box and the program carries on.
#include <windows.h>

#include <string>

namespace dw {

class BaseWindow {
public:
    // The program's icon resource, which every window class shows.
    static constexpr int kClassIconId = 1;

    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    virtual ~BaseWindow();

    HWND Hwnd() const { return hwnd_; }
    // Destroys the window while this object (its derived part included) is
    // alive to take the messages that destruction sends. The owner calls it
    // before the object goes; the destructor only detaches a window left over.
    virtual void Destroy();

protected:
    // Registers the class on first use and creates the window with this
    // object behind it. Raises AppError when Windows refuses.
    void CreateWin(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* title,
                   int x, int y, int width, int height, HWND owner, HMENU menu,
                   HBRUSH background = nullptr);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Outer size of a window whose client area is width x height.
SIZE OuterSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu);

}  // namespace dw
