#pragma once
// Owners for the GDI objects the windows keep for their lifetime.
#include <windows.h>

#include "win/handles_win.h"

namespace dw::win {

namespace release {
inline void Gdi(HGDIOBJ h) {
    DeleteObject(h);
}
}  // namespace release

template <class T>
using UniqueGdi = UniqueAny<T, release::Gdi>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniquePen = UniqueGdi<HPEN>;

// A font by face and character height in pixels (the cell minus its
// internal leading, as the designs give sizes).
inline UniqueFont MakeFont(const wchar_t* face, int pixels, bool bold,
                           BYTE charset = DEFAULT_CHARSET) {
    return UniqueFont(CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                  charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face));
}

// A WM_PAINT's device context, given back at the end of the scope however
// the painting ends.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {
        GetClientRect(hwnd, &client_);
    }
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Dc() const { return dc_; }
    const RECT& Client() const { return client_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
    RECT client_{};
};

// An object selected into a device context, the one it replaced put back at
// the end of the scope (a DC must not be given back holding our objects).
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

inline constexpr wchar_t kPGothic[] = L"ＭＳ Ｐゴシック";

}  // namespace dw::win
