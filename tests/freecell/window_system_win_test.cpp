// The Win32 adapter against real windows and the real clipboard (under Wine).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <string>
#include <thread>

#include "freecell/window_system_win.h"
#include "record/app_error.h"

namespace dw {
namespace {

using win::FromHwnd;
using win::ToHwnd;

constexpr wchar_t kTopClass[] = L"DwAdapterTestTop";

// A dialog-like top-level window with a Japanese title and the children the
// select-game dialog has: an "Edit" and two "Button"s.
class DialogLikeWindow {
public:
    explicit DialogLikeWindow(const wchar_t* title) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kTopClass;
        RegisterClassW(&wc);  // a second registration fails harmlessly
        top_ = win::UniqueWindow(CreateWindowExW(0, kTopClass, title, WS_OVERLAPPEDWINDOW, 10, 10,
                                                 300, 200, nullptr, nullptr,
                                                 GetModuleHandleW(nullptr), nullptr));
        edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, top_.get(),
                               nullptr, nullptr, nullptr);
        ok = CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE, 5, 30, 60, 20, top_.get(),
                             nullptr, nullptr, nullptr);
        cancel = CreateWindowExW(0, L"Button", L"Cancel", WS_CHILD | WS_VISIBLE, 70, 30, 60, 20,
                                 top_.get(), nullptr, nullptr, nullptr);
    }
    HWND top() const { return top_.get(); }
    HWND edit, ok, cancel;

private:
    win::UniqueWindow top_;
};

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST(Win32WindowSystemTest, FindsWindowsByExactTitleClassAndFirstChild) {
    Win32WindowSystem ws;
    DialogLikeWindow dlg(L"ゲームの選択");
    EXPECT_EQ(ws.FindWindowByTitle(L"ゲームの選択"), FromHwnd(dlg.top()));
    EXPECT_EQ(ws.FindWindowByTitle(L"ゲームの"), kNoWindow) << "titles match exactly";
    EXPECT_EQ(ws.FindWindowByClass(kTopClass), FromHwnd(dlg.top()));
    EXPECT_EQ(ws.FindChild(FromHwnd(dlg.top()), L"Edit"), FromHwnd(dlg.edit));
    EXPECT_EQ(ws.FindChild(FromHwnd(dlg.top()), L"Button"), FromHwnd(dlg.ok))
        << "the first Button child";
    EXPECT_EQ(ws.FindChild(kNoWindow, L"Button"), kNoWindow);
}

// The number is read back within the opening that put it; the field is
// selected whole before each paste, so a second paste replaces the first;
// the field's text is asked of its window and can be set through it.
TEST(Win32WindowSystemTest, ClipboardRoundTripOfANumberPastedIntoAnEdit) {
    Win32WindowSystem ws;
    DialogLikeWindow dlg(L"ゲームの選択");
    SetWindowTextW(dlg.edit, L"431");
    const ClipboardTry put = ws.PutClipboardText(L"123456");
    EXPECT_TRUE(put.opened);
    EXPECT_EQ(put.readBack, L"123456");
    const WindowHandle edit = FromHwnd(dlg.edit);
    for (int paste = 0; paste < 2; ++paste) {
        ws.Post(edit, freecell::kSelectAll);
        ws.Post(edit, freecell::kPaste);
        PumpMessages();
        EXPECT_EQ(ws.GetText(edit), std::optional<std::wstring>(L"123456")) << paste;
    }
    EXPECT_TRUE(ws.SetText(edit, L"57"));
    EXPECT_EQ(ws.GetText(edit), std::optional<std::wstring>(L"57"));
    EXPECT_EQ(ws.GetText(kNoWindow), std::nullopt);
}

TEST(Win32WindowSystemTest, PostingToNoWindowPostsNothing) {
    Win32WindowSystem ws;
    ws.Post(kNoWindow, freecell::kEnter);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
}

// Held by another program, the clipboard is not opened and the system's
// reason says why; free again, the next try goes through.
TEST(Win32WindowSystemTest, ClipboardHeldOpenElsewhereIsNotOpenedAndSaysWhy) {
    std::promise<void> opened, release;
    auto releaseFuture = release.get_future();
    std::thread holder([&] {
        HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     nullptr, nullptr);
        const bool ok = OpenClipboard(owner);
        opened.set_value();
        releaseFuture.wait();
        if (ok) CloseClipboard();
        DestroyWindow(owner);
    });
    opened.get_future().wait();
    Win32WindowSystem ws;
    const ClipboardTry held = ws.PutClipboardText(L"57");
    EXPECT_FALSE(held.opened);
    ASSERT_FALSE(held.busyReason.empty());
    EXPECT_NE(held.busyReason.back(), L'.') << "it reads inside a sentence";
    EXPECT_NE(held.busyReason.back(), L' ');
    release.set_value();
    holder.join();
    const ClipboardTry free = ws.PutClipboardText(L"58");
    EXPECT_TRUE(free.opened);
    EXPECT_EQ(free.readBack, L"58");
}

}  // namespace
}  // namespace dw
