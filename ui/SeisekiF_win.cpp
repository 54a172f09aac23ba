#include "ui/SeisekiF_win.h"

#include <commctrl.h>

#include "record/app_error.h"
#include "run/docking.h"
#include "run/spin_rules.h"
#include "ui/docked_windows_win.h"
#include "ui/resource_ids.h"

namespace dw {
namespace {

constexpr UINT kIdNo1 = TFCSeisekiF::kIdNo1;
static_assert(kIdNo1 == DW_IDM_NO1);
static_assert(DW_IDI_APP == BaseWindow::kClassIconId);
constexpr int kIdSpinEdit1 = TFCSeisekiF::ControlId(ScoreField::SpinEdit1);
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kGroupBox2Top = 253;
// Children of the panel and the group boxes sit at these offsets in the window.
constexpr int kPanelX = 5, kPanelY = 5, kGroup1X = 8, kGroup1Y = 37, kGroup2X = 8;

wchar_t DecimalSeparator() {
    wchar_t sep[4] = {};
    return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 4) ? sep[0] : L'.';
}

constexpr UINT_PTR kSpinEditSubclass = 1;

// Typing in the number box accepts only what a number can contain.
LRESULT CALLBACK SpinEditProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_CHAR && !SpinAcceptsChar(static_cast<wchar_t>(wParam), DecimalSeparator())) {
        MessageBeep(0);
        return 0;
    }
    // The subclass goes with the box: nothing of ours is called once it is destroyed.
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, SpinEditProc, kSpinEditSubclass);
    return DefSubclassProc(h, msg, wParam, lParam);
}

std::wstring TextOf(HWND h) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void TFCSeisekiF::Create(HWND owner) {
    background_ = win::UniqueBrush(CreateSolidBrush(kBackground));
    font12Bold_ = win::MakeFont(win::kPGothic, 12, true, SHIFTJIS_CHARSET);
    font12_ = win::MakeFont(win::kPGothic, 12, false, SHIFTJIS_CHARSET);
    font13_ = win::MakeFont(win::kPGothic, 13, false, SHIFTJIS_CHARSET);
    font13Bold_ = win::MakeFont(win::kPGothic, 13, true, SHIFTJIS_CHARSET);
    font15Bold_ = win::MakeFont(win::kPGothic, 15, true, SHIFTJIS_CHARSET);

    menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(DW_IDM_SEISEKI));

    const SIZE outer = CreatedSize();
    CreateWin(L"TFCSeisekiF", 0, kStyle, L"成績", CW_USEDEFAULT, CW_USEDEFAULT, outer.cx, outer.cy,
              owner, menu_, background_.get());
    CreateControls();
    FormCreate();
}

HWND TFCSeisekiF::Label(const wchar_t* text, int x, int y, int w, int h, DWORD align, HFONT font) {
    HWND l = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | align, x, y,
                             w, h, Hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return l;
}

void TFCSeisekiF::CreateControls() {
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    const HFONT b13 = font13Bold_.get(), r13 = font13_.get();

    // Panel1: the number box, the try counter and "回目".
    spinEdit1_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"1", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
        kPanelX + 0, kPanelY + 6, 84, 21, Hwnd(),
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kIdSpinEdit1)), inst, nullptr);
    SendMessageW(spinEdit1_, WM_SETFONT, reinterpret_cast<WPARAM>(font12Bold_.get()), FALSE);
    SetWindowSubclass(spinEdit1_, SpinEditProc, kSpinEditSubclass, 0);
    upDown1_ = CreateWindowExW(0, UPDOWN_CLASSW, L"",
                               WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 17, 21,
                               Hwnd(), nullptr, inst, nullptr);
    SendMessageW(upDown1_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spinEdit1_), 0);
    SendMessageW(upDown1_, UDM_SETRANGE32, kSpinMin, kSpinMax);
    label1_ = Label(L"99", kPanelX + 74, kPanelY + 13, 30, 16, SS_RIGHT, b13);
    Label(L"回目", kPanelX + 107, kPanelY + 13, 30, 16, SS_LEFT, b13);

    // GroupBox1 "成績": percentages and counts.
    groupBox1_ = CreateWindowExW(0, L"BUTTON", L"成績", WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                                 kGroup1X, kGroup1Y, 140, 217, Hwnd(), nullptr, inst, nullptr);
    SendMessageW(groupBox1_, WM_SETFONT, reinterpret_cast<WPARAM>(r13), FALSE);
    const auto g = [](int x, int y) { return POINT{kGroup1X + x, kGroup1Y + y}; };
    auto at = [&](const wchar_t* text, POINT p, int w, DWORD align, HFONT f) {
        return Label(text, p.x, p.y, w, 16, align, f);
    };
    at(L"今　回", g(8, 16), 45, SS_LEFT, r13);
    label13_ = Label(L"99.9%", g(56, 16).x, g(56, 16).y, 73, 15, SS_RIGHT, font15Bold_.get());
    at(L"勝ち", g(24, 32), 30, SS_LEFT, r13);
    label16_ = at(L"0", g(56, 32), 70, SS_LEFT, b13);
    at(L"負け", g(24, 56), 30, SS_LEFT, r13);
    label17_ = at(L"0", g(56, 56), 70, SS_LEFT, b13);
    at(L"トータル", g(8, 72), 48, SS_LEFT, r13);
    label9_ = Label(L"99.9%", g(56, 72).x, g(56, 72).y, 73, 15, SS_RIGHT, font15Bold_.get());
    at(L"勝ち", g(24, 88), 30, SS_LEFT, r13);
    label18_ = at(L"Label18", g(56, 88), 70, SS_LEFT, b13);
    at(L"負け", g(24, 112), 30, SS_LEFT, r13);
    label19_ = at(L"Label19", g(56, 112), 70, SS_LEFT, b13);
    at(L"連勝/連敗の記録", g(8, 136), 98, SS_CENTER, r13);
    at(L"勝ち", g(24, 152), 30, SS_LEFT, r13);
    label20_ = at(L"Label20", g(56, 152), 70, SS_LEFT, b13);
    at(L"負け", g(24, 176), 30, SS_LEFT, r13);
    label21_ = at(L"Label21", g(56, 176), 70, SS_LEFT, b13);
    at(L"現在", g(24, 197), 30, SS_LEFT, r13);
    label11_ = at(L"勝負", g(56, 197), 78, SS_LEFT, b13);

    // GroupBox2 "対戦履歴" and the history box; FormSet fits their heights.
    groupBox2_ = CreateWindowExW(0, L"BUTTON", L"対戦履歴", WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                                 kGroup2X, kGroupBox2Top, 140, 173, Hwnd(), nullptr, inst, nullptr);
    SendMessageW(groupBox2_, WM_SETFONT, reinterpret_cast<WPARAM>(font12_.get()), FALSE);
    memo1_.Create(Hwnd(), kGroup2X + 3, kGroupBox2Top + 15, 128, 146, kIdMemo1);
    SendMessageW(memo1_.Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(r13), FALSE);

    for (int f = 0; f <= static_cast<int>(ScoreField::Label11); ++f) {
        const auto field = static_cast<ScoreField>(f);
        SetWindowLongPtrW(Control(field), GWLP_ID, ControlId(field));
    }
}

void TFCSeisekiF::FormCreate() {
    FormSet();
}

SIZE TFCSeisekiF::CreatedSize() {
    return OuterSizeFor(kClientWidth, kClientHeight, kStyle, 0, true);
}

void TFCSeisekiF::FormSet() {
    PlaceAt(CreationPlacement(run_.FreeCell()).score);
    memo1_.SetLines(HistoryLines(run_.Record()));
    HyoujiUpdate();
}

void TFCSeisekiF::LayOut() {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const HistoryHeights hh = HistoryHeightsFor(client.bottom, kGroupBox2Top);
    SetWindowPos(groupBox2_, nullptr, 0, 0, 140, hh.groupBox,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(memo1_.Hwnd(), nullptr, 0, 0, 128, hh.memo,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND TFCSeisekiF::Control(ScoreField f) const {
    switch (f) {
        case ScoreField::SpinEdit1:
            return spinEdit1_;
        case ScoreField::Label1:
            return label1_;
        case ScoreField::Label13:
            return label13_;
        case ScoreField::Label16:
            return label16_;
        case ScoreField::Label17:
            return label17_;
        case ScoreField::Label9:
            return label9_;
        case ScoreField::Label18:
            return label18_;
        case ScoreField::Label19:
            return label19_;
        case ScoreField::Label20:
            return label20_;
        case ScoreField::Label21:
            return label21_;
        case ScoreField::Label11:
            return label11_;
    }
    return nullptr;
}

void TFCSeisekiF::HyoujiUpdate() {
    for (const auto& [field, text] : HyoujiTexts(run_.Record()))
        SetWindowTextW(Control(field), text.c_str());
}

void TFCSeisekiF::ShowTryCount(int tryCnt) {
    SetWindowTextW(label1_, std::to_wstring(tryCnt).c_str());
}

void TFCSeisekiF::SetGameBoxText(const std::wstring& text) {
    SetWindowTextW(spinEdit1_, text.c_str());
}

void TFCSeisekiF::InsertHistoryLine(const std::wstring& line) {
    // Above the first line; the box keeps every line of the run.
    memo1_.InsertOnTop(line);
}

void TFCSeisekiF::No1Click() {
    run_.No1Click(TextOf(spinEdit1_));
}

void TFCSeisekiF::HoldInput(bool held) {
    EnableMenuItem(menu_, 0, MF_BYPOSITION | (held ? MF_GRAYED : MF_ENABLED));
    DrawMenuBar(Hwnd());
}

void TFCSeisekiF::SpinEditKillFocus() {
    SetWindowTextW(spinEdit1_, std::to_wstring(ClampSpinValue(TextOf(spinEdit1_))).c_str());
}

void TFCSeisekiF::SpinEditStep(int delta) {
    SetWindowTextW(spinEdit1_, std::to_wstring(StepSpinValue(TextOf(spinEdit1_), delta)).c_str());
}

void TFCSeisekiF::PaintMore(HDC dc) {
    RECT panel{kPanelX, kPanelY, kPanelX + 140, kPanelY + 31};
    DrawEdge(dc, &panel, BDR_RAISEDINNER, BF_RECT);  // Panel1
}

LRESULT TFCSeisekiF::FormMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kIdNo1 && HIWORD(wParam) == 0 && lParam == 0) {
                No1Click();
                return 0;
            }
            if (LOWORD(wParam) == kIdSpinEdit1 && HIWORD(wParam) == EN_KILLFOCUS) {
                SpinEditKillFocus();
                return 0;
            }
            break;
        case WM_NOTIFY: {
            const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (hdr->hwndFrom == upDown1_ && hdr->code == UDN_DELTAPOS) {
                SpinEditStep(reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta);
                return 1;  // we moved the value ourselves
            }
            break;
        }
        case WM_CTLCOLORSTATIC: {
            const HWND c = reinterpret_cast<HWND>(lParam);
            const HDC dc = reinterpret_cast<HDC>(wParam);
            const bool red = c == label13_ || c == label9_ || c == label11_;
            SetTextColor(dc, red ? RGB(255, 0, 0) : RGB(0, 0, 0));
            SetBkColor(dc, kBackground);
            return reinterpret_cast<LRESULT>(background_.get());
        }
    }
    return Default(msg, wParam, lParam);
}

}  // namespace dw
