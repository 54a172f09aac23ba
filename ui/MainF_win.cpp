#include "ui/MainF_win.h"

#include "freecell/launcher.h"
#include "record/app_error.h"
#include "record/settings.h"
#include "ui/CtrlF_win.h"
#include "ui/SeisekiF_win.h"
#include "ui/app_window_win.h"
#include "ui/error_box_win.h"
#include "ui/error_text.h"

namespace dw {
namespace {

constexpr UINT kIdButton1 = 100;

}  // namespace

TFCMainF::TFCMainF(AppWindow& app, ProfileFiles& profile, IProcessSystem& processes,
                   std::wstring exePath, std::function<void()> endProgram)
    : app_(app),
      profile_(profile),
      processes_(processes),
      exePath_(std::move(exePath)),
      endProgram_(std::move(endProgram)) {}

TFCMainF::~TFCMainF() {
    if (Hwnd()) KillTimer(Hwnd(), kTimer1);
}

void TFCMainF::Create() {
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
    creating_ = true;
    try {
        FormCreate();
    } catch (...) {
        creating_ = false;
        throw;
    }
    creating_ = false;
}

void TFCMainF::Attach(TFCSeisekiF* seiseki, TFCCtrF* ctrl) {
    seiseki_ = seiseki;
    ctrl_ = ctrl;
}

void TFCMainF::Show() {
    if (!running_) ShowWindow(Hwnd(), SW_SHOW);
}

void TFCMainF::FormCreate() {
    // Minimizing or restoring the program's taskbar entry takes FreeCell along.
    app_.OnMinimize = [this] { ws_.Post(FCHnd, freecell::kMinimize); };
    app_.OnRestore = [this] { ws_.Post(FCHnd, freecell::kRestore); };
    IniRead();

    Launcher launcher(processes_);
    const LaunchResult found = launcher.FindOrLaunchFreeCell();
    FCHnd = found.FCHnd;
    if (found.notFound) {
        if (found.answeredOk) {
            // Not yet the main window: the close procedure saves and hides it
            // but does not end the program; the button then ends it.
            try {
                FormClose();
            } catch (const AppError& e) {
                ShowGeneralErrorBox(e.Message());
            }
            ShowWindow(Hwnd(), SW_HIDE);
        }
        SetWindowTextW(button1_, L"Dealwarden を終了");
    }
}

void TFCMainF::IniRead() {
    FIniFileName = IniFileNameFor(exePath_);
    dw::IniRead(profile_, FIniFileName, Record, RenMode);
    saved_ = Record;
    savedRenMode_ = RenMode;
}

void TFCMainF::IniWrite() {
    FIniFileName = IniFileNameFor(exePath_);
    dw::IniWrite(profile_, FIniFileName, Record, RenMode);
    saved_ = Record;
    savedRenMode_ = RenMode;
    saveErrorTold_ = false;
}

void TFCMainF::SaveIfChanged() {
    if (closed_ || (saved_ && SameStoredFields(*saved_, Record) && savedRenMode_ == RenMode))
        return;
    try {
        IniWrite();
    } catch (const AppError& e) {
        // Told once; the record stays in memory and every later booking and
        // the close try again.
        if (saveErrorTold_) return;
        saveErrorTold_ = true;
        ShowGeneralErrorBox(
            ErrorBoxText(e.Message()) +
            L"\r\n記録は Dealwarden が保持しています。次の記録時と終了時に保存を再試行します");
    }
}

void TFCMainF::Button1Click() {
    ws_.SetForeground(FCHnd);
    for (const auto& m : freecell::OpenSelectGame()) ws_.Post(FCHnd, m);
    ws_.BringToTop(win::FromHwnd(Hwnd()));
    if (seiseki_) seiseki_->HyoujiUpdate();
    SetTimer(Hwnd(), kTimer1, kTimer1Period, nullptr);
    running_ = true;
    NextDealAsked();
    if (ctrl_) ShowWindow(ctrl_->Hwnd(), SW_SHOWNOACTIVATE);
    if (seiseki_) ShowWindow(seiseki_->Hwnd(), SW_SHOWNOACTIVATE);
    ShowWindow(Hwnd(), SW_HIDE);
}

void TFCMainF::Timer1Timer() {
    if (closed_) return;
    try {
        watcher_.Timer1Timer(FCHnd, win::FromHwnd(Hwnd()));
    } catch (...) {
        SaveIfChanged();  // what was booked before the error is kept
        throw;
    }
    SaveIfChanged();
}

void TFCMainF::FormClose() {
    ws_.SetForeground(FCHnd);
    ws_.Post(FCHnd, freecell::kClose);
    IniWrite();
}

void TFCMainF::RequestClose(CloseAsk who) {
    if (closed_) return;
    try {
        FormClose();
    } catch (const AppError& e) {
        if (who == CloseAsk::ByWatcher) {
            // FreeCell is gone and asks come every second: tell the player
            // once and keep the record until a save succeeds.
            if (!saveErrorTold_) {
                saveErrorTold_ = true;
                ShowGeneralErrorBox(
                    ErrorBoxText(e.Message()) +
                    L"\r\n記録は Dealwarden が保持しています。保存できしだい終了します");
            }
            return;
        }
        // FreeCell has been told to close: from now on the watcher asks every
        // second, and this box already tells the player.
        saveErrorTold_ = true;
        const std::wstring text =
            ErrorBoxText(e.Message()) + L"\r\n\r\n記録を保存せずに終了しますか？";
        if (MessageBoxW(nullptr, text.c_str(), kAppTitle,
                        MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2 | MB_TASKMODAL) != IDYES)
            return;
    }
    if (closed_) return;  // closed beneath the box meanwhile
    closed_ = true;
    KillTimer(Hwnd(), kTimer1);
    KillTimer(Hwnd(), kSelectTimer);
    endProgram_();
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
void TFCMainF::CloseProgram() {
    RequestClose(CloseAsk::ByWatcher);
}

void TFCMainF::NextDealAsked() {
    if (!running_ || closed_) return;
    selectPollsLeft_ = kSelectPolls;
    SetTimer(Hwnd(), kSelectTimer, kSelectPollMs, nullptr);
}

void TFCMainF::SelectTimerTick() {
    // The tick itself is the watcher's usual one; only its moment is earlier.
    const bool shown = ws_.FindWindowByTitle(freecell::CkWord[freecell::kSelectGame]) != kNoWindow;
    if (shown || --selectPollsLeft_ <= 0 || closed_) KillTimer(Hwnd(), kSelectTimer);
    if (shown) Timer1Timer();
}

LRESULT TFCMainF::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kIdButton1 && HIWORD(wParam) == BN_CLICKED) {
                Button1Click();
                return 0;
            }
            break;
        case WM_TIMER:
            if (wParam == kTimer1) {
                Timer1Timer();
                return 0;
            }
            if (wParam == kSelectTimer) {
                SelectTimerTick();
                return 0;
            }
            break;
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(background_.get());
        case WM_CLOSE:
            RequestClose(CloseAsk::ByPlayer);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // Windows is ending the session and will not wait for a close.
            if (wParam && !closed_) {
                try {
                    IniWrite();
                } catch (const AppError&) {
                }
            }
            return 0;
    }
    return Default(msg, wParam, lParam);
}

}  // namespace dw
