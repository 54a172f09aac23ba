#include "ui/speed_button_win.h"

#include "win/gdi_win.h"

namespace dw {

void SpeedButton::Create(HWND parent, UINT id, const std::wstring& caption, HFONT font, int x,
                         int y, int w, int h) {
    id_ = id;
    font_ = font;
    CreateWin(L"DealwardenSpeedButton", 0, WS_CHILD | WS_VISIBLE, caption.c_str(), x, y, w, h,
              parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
              GetSysColorBrush(COLOR_BTNFACE));
}

bool SpeedButton::Inside(LPARAM lParam) const {
    RECT r;
    GetClientRect(Hwnd(), &r);
    const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return PtInRect(&r, p);
}

LRESULT SpeedButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, cursor_));
            return TRUE;
        case WM_LBUTTONDOWN:
            pressed_ = true;
            SetCapture(Hwnd());
            InvalidateRect(Hwnd(), nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP:
            if (pressed_) {
                pressed_ = false;
                ReleaseCapture();
                InvalidateRect(Hwnd(), nullptr, FALSE);
                if (Inside(lParam) && IsWindowEnabled(Hwnd()))
                    SendMessageW(GetParent(Hwnd()), WM_COMMAND, MAKEWPARAM(id_, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(Hwnd()));
            }
            return 0;
        case BM_CLICK:  // as a push button answers it: a click without the mouse
            if (IsWindowEnabled(Hwnd()))
                SendMessageW(GetParent(Hwnd()), WM_COMMAND, MAKEWPARAM(id_, BN_CLICKED),
                             reinterpret_cast<LPARAM>(Hwnd()));
            return 0;
        case WM_CAPTURECHANGED:
            pressed_ = false;
            return 0;
        case WM_ENABLE:
            InvalidateRect(Hwnd(), nullptr, FALSE);
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
    }
    return Default(msg, wParam, lParam);
}

void SpeedButton::Paint() {
    win::PaintScope paint(Hwnd());
    const HDC dc = paint.Dc();
    RECT r = paint.Client();
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, pressed_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const bool enabled = IsWindowEnabled(Hwnd());
    wchar_t caption[64] = {};
    GetWindowTextW(Hwnd(), caption, 64);
    win::Selected font(dc, font_);
    SIZE text{};
    GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &text);
    const int shift = pressed_ ? 1 : 0;
    const int total = 16 + 4 + text.cx;
    const int x = (r.right - total) / 2 + shift;
    DrawGlyph(dc, glyph_, x, (r.bottom - 16) / 2 + shift, enabled);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
    TextOutW(dc, x + 20, (r.bottom - text.cy) / 2 + shift, caption, lstrlenW(caption));
}

void DrawGlyph(HDC dc, Glyph glyph, int x, int y, bool enabled) {
    const COLORREF ink = !enabled                ? RGB(160, 160, 160)
                         : glyph == Glyph::Retry ? RGB(0, 110, 200)
                         : glyph == Glyph::Undo  ? RGB(200, 120, 0)
                                                 : RGB(200, 0, 0);
    win::UniquePen pen(CreatePen(PS_SOLID, 2, ink));
    win::UniqueBrush brush(CreateSolidBrush(ink));
    win::Selected withPen(dc, pen.get());  // put back before the pen and brush go
    win::Selected withBrush(dc, brush.get());
    switch (glyph) {
        case Glyph::Retry: {  // a circling arrow: deal the same game again
            const POINT ring[] = {{x + 13, y + 9}, {x + 11, y + 13}, {x + 8, y + 14},
                                  {x + 4, y + 13}, {x + 2, y + 9},   {x + 2, y + 6},
                                  {x + 4, y + 3},  {x + 8, y + 2}};
            Polyline(dc, ring, 8);
            const POINT head[] = {{x + 8, y - 1}, {x + 13, y + 2}, {x + 8, y + 5}};
            Polygon(dc, head, 3);
            break;
        }
        case Glyph::Undo: {  // an arrow back
            MoveToEx(dc, x + 6, y + 8, nullptr);
            LineTo(dc, x + 14, y + 8);
            const POINT head[] = {{x + 1, y + 8}, {x + 7, y + 3}, {x + 7, y + 13}};
            Polygon(dc, head, 3);
            break;
        }
        case Glyph::Quit: {  // a cross
            MoveToEx(dc, x + 3, y + 3, nullptr);
            LineTo(dc, x + 13, y + 13);
            MoveToEx(dc, x + 13, y + 3, nullptr);
            LineTo(dc, x + 3, y + 13);
            break;
        }
    }
}

}  // namespace dw
