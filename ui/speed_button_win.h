#pragma once
// A flat push button that never takes the keyboard focus, so FreeCell keeps
// it while the player clicks: it handles the mouse itself and tells its
// parent with WM_COMMAND/BN_CLICKED. A 16 x 16 picture sits left of the
// caption, greyed when the button is disabled.
#include <string>

#include "win/base_window_win.h"

namespace dw {

enum class Glyph { Retry, Undo, Quit };

class SpeedButton : public BaseWindow {
public:
    SpeedButton(Glyph glyph, LPCWSTR cursor) : glyph_(glyph), cursor_(cursor) {}
    void Create(HWND parent, UINT id, const std::wstring& caption, HFONT font, int x, int y, int w,
                int h);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    bool Inside(LPARAM lParam) const;

    Glyph glyph_;
    LPCWSTR cursor_;
    UINT id_ = 0;
    HFONT font_ = nullptr;
    bool pressed_ = false;
};

// Draws a button picture in the 16 x 16 square at (x, y).
void DrawGlyph(HDC dc, Glyph glyph, int x, int y, bool enabled);

}  // namespace dw
