#include "ui/MainF_win.h"

#include "ui/CtrlF_win.h"
#include "ui/SeisekiF_win.h"
#include "ui/app_window_win.h"
#include "win/error_box_win.h"

namespace dw {
namespace {

constexpr UINT kIdButton1 = 100;

}  // namespace

TFCMainF::TFCMainF(AppWindow& app, std::shared_ptr<ProfileFiles> profile, IProcessSystem& processes,
                   std::wstring exePath, std::function<void()> endProgram)
    : app_(app),
      processes_(processes),
      endProgram_(std::move(endProgram)),
      profile_(std::move(profile)),
      Timer1([this](RunTimer t) { run_.OnTimer(t); }),
      saves_(profile_, [this] { run_.OnRecordWritten(); }),
      run_(Record, FCHnd, std::move(exePath),
           PlayRun::Seams{ws_, *profile_, Timer1, events_, boxes_, *this, saves_}) {
    run_.FollowWith(follower_);
}

void TFCMainF::Create() {
    Timer1.Create();
    saves_.Create();
    background_ = win::UniqueBrush(CreateSolidBrush(kBackground));
    font_ = win::MakeFont(L"Tahoma", 11, false);
    buttonFont_ = win::MakeFont(L"Tahoma", 27, false);
    // Borderless and captionless: the outer size is the client size. Centred.
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kClientWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kClientHeight) / 2;
    CreateWin(L"TFCMainF", WS_EX_TOPMOST, WS_POPUP, L"Dealwarden", x, y, kClientWidth,
              kClientHeight, app_.Hwnd(), nullptr, background_.get());
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    button1_ = CreateWindowExW(0, L"BUTTON", L"Dealwarden を開始",
                               WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8, 8, 356, 81, Hwnd(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kIdButton1)),
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(button1_, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.get()), FALSE);
    win::SetBoxOwner([this] { return BoxOwner(); });
    FormCreate();
}

void TFCMainF::Destroy() {
    win::SetBoxOwner(nullptr);
    Timer1.Destroy();
    saves_.Destroy();
    BaseWindow::Destroy();
}

HWND TFCMainF::BoxOwner() const {
    switch (run_.PlayersWindow()) {
        case FrontWindow::StartWindow:
            return Hwnd();
        case FrontWindow::ScoreWindow:
            return seiseki_ ? seiseki_->Hwnd() : Hwnd();
        case FrontWindow::None:
            break;
    }
    return nullptr;
}

void TFCMainF::Attach(TFCSeisekiF* seiseki, TFCCtrF* ctrl) {
    seiseki_ = seiseki;
    ctrl_ = ctrl;
    docked_.Attach(seiseki, ctrl);
}

void TFCMainF::Show() {
    if (!run_.Running() && !run_.Closed()) ShowWindow(Hwnd(), SW_SHOW);
}

void TFCMainF::FormCreate() {
    // Minimizing or restoring the program's taskbar entry takes FreeCell
    // along; closing it is a close like any other.
    app_.OnMinimize = [this] { run_.OnMinimized(); };
    app_.OnRestore = [this] { run_.OnRestored(); };
    app_.OnClose = [this] { run_.RequestClose(CloseAsk::ByPlayer); };
    app_.OnAnotherCopy = [this] { AnotherCopyStarted(); };
    run_.FormCreate(processes_, win::FromHwnd(Hwnd()));
}

void TFCMainF::Button1Click() {
    run_.Button1Click();
}

void TFCMainF::AnotherCopyStarted() {
    HWND front = nullptr;
    switch (run_.WindowForAnotherCopy()) {
        case FrontWindow::None:
            return;
        case FrontWindow::StartWindow:
            front = Hwnd();
            break;
        case FrontWindow::ScoreWindow:
            if (!seiseki_) return;
            front = seiseki_->Hwnd();
            break;
    }
    if (app_.Minimized()) app_.Restore();
    ShowWindow(front, SW_SHOW);
    SetForegroundWindow(front);
}

void TFCMainF::ShowTryCount(std::int32_t tryCnt) {
    if (seiseki_) seiseki_->ShowTryCount(tryCnt);
}
void TFCMainF::SetGameBoxToOne() {
    if (seiseki_) seiseki_->SetGameBoxText(L"1");
}
void TFCMainF::InsertHistoryLine(const std::wstring& line) {
    if (seiseki_) seiseki_->InsertHistoryLine(line);
}
void TFCMainF::Refresh() {
    if (seiseki_) seiseki_->HyoujiUpdate();
}
void TFCMainF::HoldInput(bool held) {
    if (ctrl_) ctrl_->HoldInput(held);
    if (seiseki_) seiseki_->HoldInput(held);
}
void TFCMainF::SetStartCaption(const std::wstring& caption) {
    SetWindowTextW(button1_, caption.c_str());
}
void TFCMainF::HideStartWindow() {
    ShowWindow(Hwnd(), SW_HIDE);
}
void TFCMainF::ShowPlayWindows() {
    if (ctrl_) ShowWindow(ctrl_->Hwnd(), SW_SHOWNOACTIVATE);
    if (seiseki_) ShowWindow(seiseki_->Hwnd(), SW_SHOWNOACTIVATE);
    ShowWindow(Hwnd(), SW_HIDE);
}
void TFCMainF::EndProgram() {
    endProgram_();
}

LRESULT TFCMainF::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kIdButton1 && HIWORD(wParam) == BN_CLICKED) {
                Button1Click();
                return 0;
            }
            break;
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(background_.get());
        case WM_CLOSE:
            run_.RequestClose(CloseAsk::ByPlayer);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            run_.EndSession(wParam != FALSE);
            return 0;
    }
    return Default(msg, wParam, lParam);
}

}  // namespace dw
