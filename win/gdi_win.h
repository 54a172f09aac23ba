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

inline constexpr wchar_t kPGothic[] = L"ＭＳ Ｐゴシック";

}  // namespace dw::win
