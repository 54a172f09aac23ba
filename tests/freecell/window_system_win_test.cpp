// The Win32 adapter against real windows and the real clipboard (under Wine).
#include "freecell/window_system_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <future>
#include <thread>

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

TEST(Win32WindowSystemTest, ClipboardRoundTripOfANumberPastedIntoAnEdit) {
    Win32WindowSystem ws;
    DialogLikeWindow dlg(L"ゲームの選択");
    SetWindowTextW(dlg.edit, L"1");
    SendMessageW(dlg.edit, EM_SETSEL, 0, -1);  // the dialog pre-selects its text
    ws.SetClipboardText(L"123456");
    EXPECT_EQ(ws.GetClipboardText(), L"123456");
    ws.Post(FromHwnd(dlg.edit), freecell::kPaste);
    PumpMessages();
    wchar_t text[32] = {};
    GetWindowTextW(dlg.edit, text, 32);
    EXPECT_STREQ(text, L"123456");
}

TEST(Win32WindowSystemTest, PostingToNoWindowPostsNothing) {
    Win32WindowSystem ws;
    ws.Post(kNoWindow, freecell::kEnter);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
}

TEST(Win32WindowSystemTest, ClipboardHeldOpenElsewhereRaisesTheOpenError) {
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
    try {
        ws.SetClipboardText(L"57");
        ADD_FAILURE() << "expected the clipboard to be refused";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.Message().starts_with(L"クリップボード ")) << "message";
        EXPECT_TRUE(e.Message().ends_with(L" を開けません"));
        EXPECT_NE(e.Message().find_first_not_of(L" "), std::wstring::npos);
    }
    release.set_value();
    holder.join();
    // Free again: the next attempt succeeds.
    ws.SetClipboardText(L"58");
    EXPECT_EQ(ws.GetClipboardText(), L"58");
}

}  // namespace
}  // namespace dw
