#include "win/base_window_win.h"

#include <utility>

#include "record/app_error.h"
#include "win/error_box_win.h"

namespace dw {

BaseWindow::~BaseWindow() {
    // The derived part is gone already: the window must not reach it.
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(std::exchange(hwnd_, nullptr));
}

void BaseWindow::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
}

void BaseWindow::CreateWin(const wchar_t* className, DWORD exStyle, DWORD style,
                           const wchar_t* title, int x, int y, int width, int height, HWND owner,
                           HMENU menu, HBRUSH background) {
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(inst, className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(kClassIconId));
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc))
            throw AppError(L"ウィンドウクラス " + std::wstring(className) + L" を登録できません");
    }
    if (!CreateWindowExW(exStyle, className, title, style, x, y, width, height, owner, menu, inst,
                         this))
        throw AppError(L"ウィンドウ " + std::wstring(title) + L" を作成できません");
}

LRESULT CALLBACK BaseWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    BaseWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (const AppError& e) {
        ShowGeneralErrorBox(e.Message());
    } catch (const std::exception& e) {
        ShowGeneralErrorBox(
            std::wstring(e.what(), e.what() + std::char_traits<char>::length(e.what())));
    } catch (...) {
        ShowGeneralErrorBox(L"予期しないエラーが発生しました");
    }
    return 0;
}

SIZE OuterSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, bool hasMenu) {
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, hasMenu, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace dw
