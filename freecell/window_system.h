#pragma once
// The window-system calls the FreeCell link needs, behind a seam so the
// watcher's logic runs and is tested without Windows.
#include <cstdint>
#include <string>
#include <string_view>

#include "freecell/contract.h"

namespace dw {

// A window system handle; 0 is "none", and posting to none has no effect.
using WindowHandle = std::uintptr_t;
inline constexpr WindowHandle kNoWindow = 0;

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;
    // Top-level window with exactly this title (any class), or none.
    virtual WindowHandle FindWindowByTitle(std::wstring_view title) = 0;
    // Top-level window of this class (any title), or none.
    virtual WindowHandle FindWindowByClass(std::wstring_view cls) = 0;
    // First child of parent with this class, or none.
    virtual WindowHandle FindChild(WindowHandle parent, std::wstring_view cls) = 0;
    virtual void SetForeground(WindowHandle w) = 0;
    virtual void Post(WindowHandle w, const freecell::Message& m) = 0;
    virtual void BringToTop(WindowHandle w) = 0;
    // A short pause that keeps the thread to itself (nothing else runs).
    virtual void Sleep(unsigned ms) = 0;
    // A pause while FreeCell is waited for: the thread keeps reading its
    // message queue, so our windows repaint and are never reported hung;
    // what our handlers would do meanwhile is theirs to hold off. false when
    // the program is ending and the wait should stop.
    virtual bool Pause(unsigned ms) = 0;
    // Clipboard as Unicode text. Both raise AppError: "クリップボード %s を開けません"
    // when it cannot be opened, "システム リソース不足です" when it refuses the data.
    virtual void SetClipboardText(const std::wstring& text) = 0;
    virtual std::wstring GetClipboardText() = 0;
};

}  // namespace dw
