#pragma once
// Owners for the GDI objects the windows keep for their lifetime.
#include <windows.h>

#include <utility>

namespace dw::win {

template <class T>
class UniqueGdi {
public:
    UniqueGdi() = default;
    explicit UniqueGdi(T h) : h_(h) {}
    UniqueGdi(UniqueGdi&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueGdi& operator=(UniqueGdi&& o) noexcept {
        if (this != &o) {
            if (h_) DeleteObject(h_);
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    ~UniqueGdi() {
        if (h_) DeleteObject(h_);
    }
    T get() const { return h_; }

private:
    T h_ = nullptr;
};

using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueBitmap = UniqueGdi<HBITMAP>;

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
