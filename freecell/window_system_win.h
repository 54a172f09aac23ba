#pragma once
// The window system seam over user32 and the clipboard.
#include "freecell/window_system.h"
#include "win/handles_win.h"

namespace dw {

class Win32WindowSystem final : public IWindowSystem {
public:
    // How long another program's window gets to answer a text asked of it.
    static constexpr UINT kAnswerMs = 200;

    // The clipboard needs an owner window for SetClipboardData to stick; a
    // message-only window of our own serves.
    Win32WindowSystem();

    WindowHandle FindWindowByTitle(std::wstring_view title) override;
    WindowHandle FindWindowByClass(std::wstring_view cls) override;
    WindowHandle FindChild(WindowHandle parent, std::wstring_view cls) override;
    void SetForeground(WindowHandle w) override;
    void Post(WindowHandle w, const freecell::Message& m) override;
    void BringToTop(WindowHandle w) override;
    bool IsEnabled(WindowHandle w) override;
    bool InMenu(WindowHandle w) override;
    bool IsVisible(WindowHandle w) override;
    std::optional<std::wstring> GetText(WindowHandle w) override;
    bool SetText(WindowHandle w, const std::wstring& text) override;
    void Sleep(unsigned ms) override;
    bool Pause(unsigned ms) override;
    bool Look(unsigned ms) override;
    std::uint64_t NowMs() override;
    ClipboardTry PutClipboardText(const std::wstring& text) override;

private:
    // Handles what has come in; false at WM_QUIT (left for the message loop).
    bool HandleWhatCameIn();
    win::UniqueWindow clipboardOwner_;
};

}  // namespace dw
