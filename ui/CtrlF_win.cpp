#include "ui/CtrlF_win.h"

#include "run/docking.h"
#include "ui/docked_windows_win.h"

namespace dw {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;  // a close box only
// Clicks must leave FreeCell active, with the keyboard.
constexpr DWORD kExStyle = WS_EX_NOACTIVATE;
constexpr int kButtonTop = 6, kButtonHeight = 25, kButtonWidth = 105;

}  // namespace

void TFCCtrF::Create(HWND owner) {
    background_ = win::UniqueBrush(CreateSolidBrush(kBackground));
    font12_ = win::MakeFont(win::kPGothic, 12, false, SHIFTJIS_CHARSET);
    font13_ = win::MakeFont(win::kPGothic, 13, false, SHIFTJIS_CHARSET);
    const SIZE outer = CreatedSize();
    CreateWin(L"TFCCtrF", kExStyle, kStyle, L"Dealwarden ｺﾝﾄﾛｰﾙﾊﾞｰ", CW_USEDEFAULT, CW_USEDEFAULT,
              outer.cx, outer.cy, owner, nullptr, background_.get());
    speedButton2_.Create(Hwnd(), kIdSpeedButton2, L"やり直し", font13_.get(), 8, kButtonTop,
                         kButtonWidth, kButtonHeight);
    speedButton3_.Create(Hwnd(), kIdSpeedButton3, L"１つ戻す", font13_.get(), 119, kButtonTop,
                         kButtonWidth, kButtonHeight);
    speedButton4_.Create(Hwnd(), kIdSpeedButton4, L"終了", font12_.get(), 230, kButtonTop,
                         kButtonWidth, kButtonHeight);
    FormCreate();
}

void TFCCtrF::FormCreate() {
    FormSet();
}

SIZE TFCCtrF::CreatedSize() {
    return OuterSizeFor(kClientWidth, kClientHeight, kStyle, kExStyle, false);
}

void TFCCtrF::FormSet() {
    PlaceAt(CreationPlacement(run_.FreeCell()).bar);
}

void TFCCtrF::LayOut() {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const BarButtons b = LayOutBarButtons(client.right);
    const HWND buttons[] = {speedButton2_.Hwnd(), speedButton3_.Hwnd(), speedButton4_.Hwnd()};
    for (int i = 0; i < 3; ++i)
        SetWindowPos(buttons[i], nullptr, b.lefts[i], kButtonTop, b.width, kButtonHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFCCtrF::SpeedButton2Click() {
    run_.SpeedButton2Click(win::FromHwnd(Hwnd()));
}

void TFCCtrF::SpeedButton3Click() {
    run_.SpeedButton3Click(win::FromHwnd(Hwnd()));
}

void TFCCtrF::SpeedButton4Click() {
    run_.SpeedButton4Click();
}

void TFCCtrF::HoldInput(bool held) {
    for (HWND b : {speedButton2_.Hwnd(), speedButton3_.Hwnd(), speedButton4_.Hwnd()})
        EnableWindow(b, held ? FALSE : TRUE);
}

LRESULT TFCCtrF::FormMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                switch (LOWORD(wParam)) {
                    case kIdSpeedButton2:
                        SpeedButton2Click();
                        return 0;
                    case kIdSpeedButton3:
                        SpeedButton3Click();
                        return 0;
                    case kIdSpeedButton4:
                        SpeedButton4Click();
                        return 0;
                }
            }
            break;
    }
    return Default(msg, wParam, lParam);
}

}  // namespace dw
