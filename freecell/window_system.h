#pragma once
// The window-system calls the FreeCell link needs, behind a seam so the
// watcher's logic runs and is tested without Windows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "freecell/contract.h"

namespace dw {

// A window system handle; 0 is "none", and posting to none has no effect.
using WindowHandle = std::uintptr_t;
inline constexpr WindowHandle kNoWindow = 0;

// One try at handing a text over through the clipboard: put there and read
// back within one opening, so that no other program comes in between.
struct ClipboardTry {
    bool opened = false;      // false: another program holds the clipboard
    std::wstring readBack;    // what the clipboard holds once the text is put (opened only)
    std::wstring busyReason;  // the system's text for the failed opening (not opened)
};

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
    // Whether the window takes input: a window that shows a modal dialog of
    // its own is disabled for as long as the dialog is up.
    virtual bool IsEnabled(WindowHandle w) = 0;
    // Whether the window is shown. A modal dialog created hidden is shown
    // only once its thread has handled what was in its queue.
    virtual bool IsVisible(WindowHandle w) = 0;
    // Whether the window's thread is in a menu (one of its menus is open):
    // keys posted to it meanwhile are taken by the menu, not the window.
    virtual bool InMenu(WindowHandle w) = 0;
    // A window's text (an "Edit" field's content) asked of its thread, or
    // nothing when it does not answer within a moment (hung, gone).
    virtual std::optional<std::wstring> GetText(WindowHandle w) = 0;
    // Sets a window's text through its thread; false when it did not answer.
    virtual bool SetText(WindowHandle w, const std::wstring& text) = 0;
    // A short pause that keeps the thread to itself (nothing else runs).
    virtual void Sleep(unsigned ms) = 0;
    // A pause while FreeCell is waited for: the thread keeps reading its
    // message queue, so our windows repaint and are never reported hung;
    // what our handlers would do meanwhile is theirs to hold off. false when
    // the program is ending and the wait should stop.
    virtual bool Pause(unsigned ms) = 0;
    // The same, but over as soon as anything has come in and been handled
    // (a window event of FreeCell's among it), at the latest after ms: a look
    // for what FreeCell is about to show, as soon as it can be seen.
    virtual bool Look(unsigned ms) = 0;
    // Milliseconds on a clock that only moves forward, the one every wait is
    // measured on: a pause lasts what the system makes of it (a 2 ms pause
    // is ~15.6 ms on Windows), so waits are bounded by time, never by passes.
    virtual std::uint64_t NowMs() = 0;
    // The clipboard as Unicode text: text put and read back in one opening.
    // Raises AppError "システム リソース不足です" when it refuses the data.
    virtual ClipboardTry PutClipboardText(const std::wstring& text) = 0;
};

}  // namespace dw
