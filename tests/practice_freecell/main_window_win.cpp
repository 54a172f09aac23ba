#include "main_window_win.h"

#include "dialogs_win.h"
#include "resource_ids.h"

namespace dw::practice {
namespace {

constexpr wchar_t kClass[] = L"FreeCell";
constexpr wchar_t kTitle[] = L"フリーセル";

// The real game starts its select-game field with a random deal.
int RandomDeal() {
    return static_cast<int>(GetTickCount() % 1000000) + 1;
}

}  // namespace

MainWindow::MainWindow(const Options& options, EventLog& log)
    : options_(options),
      log_(log),
      winMessage_(RegisterWindowMessageW(kWinMessageName)),
      stuckMessage_(RegisterWindowMessageW(kStuckMessageName)) {}

bool MainWindow::Create(int showCmd) {
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(0, 110, 40));
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    ACCEL keys[] = {{FVIRTKEY, VK_F3, IDC_SELECT},
                    {FVIRTKEY, VK_F4, IDC_STATS},
                    {FVIRTKEY | FCONTROL, 'Z', IDC_UNDO}};
    accel_ = CreateAcceleratorTableW(keys, 3);
    hwnd_ = CreateWindowExW(0, kClass, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 200, 150, 640,
                            480, nullptr, LoadMenuW(inst, MAKEINTRESOURCEW(IDM_MAIN)), inst, this);
    if (!hwnd_) return false;
    ShowWindow(hwnd_, showCmd);
    UpdateWindow(hwnd_);
    log_.Write(L"window");
    return true;
}

bool MainWindow::Accelerate(MSG& msg) {
    return hwnd_ && accel_ && TranslateAcceleratorW(hwnd_, accel_, &msg);
}

LRESULT CALLBACK MainWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == winMessage_) {
        Win();
        return 0;
    }
    if (msg == stuckMessage_) {
        Stuck();
        return 0;
    }
    switch (msg) {
        case WM_CREATE: {
            const HINSTANCE inst = GetModuleHandleW(nullptr);
            const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
            status_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 16, 16, 400, 24,
                                      hwnd_, reinterpret_cast<HMENU>(IDC_STATUS), inst, nullptr);
            // No WS_TABSTOP: nothing here asks for the keyboard.
            HWND win = CreateWindowExW(
                0, L"BUTTON", L"勝ったことにする", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 16, 56,
                180, 28, hwnd_, reinterpret_cast<HMENU>(IDC_TRIGGER_WIN), inst, nullptr);
            HWND stuck = CreateWindowExW(
                0, L"BUTTON", L"行き詰まったことにする", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 208,
                56, 180, 28, hwnd_, reinterpret_cast<HMENU>(IDC_TRIGGER_STUCK), inst, nullptr);
            for (HWND h : {status_, win, stuck}) SendMessageW(h, WM_SETFONT, font, FALSE);
            ShowStatus();
            return 0;
        }
        case WM_KEYDOWN:
            // Reaches us here only when no accelerator translated it: inside a
            // dialog's modal loop, where the game does not open another one.
            if (wParam == VK_F3) {
                log_.Write(L"f3");
                Busy(L"select");
                return 0;
            }
            break;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_SELECT:
                    if (HIWORD(wParam) == 1) log_.Write(L"f3");  // from the accelerator
                    SelectGame();
                    return 0;
                case IDC_UNDO:
                    Undo();
                    return 0;
                case IDC_STATS:
                    Stats();
                    return 0;
                case IDC_EXIT:
                    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
                    return 0;
                case IDC_TRIGGER_WIN:
                    Win();
                    return 0;
                case IDC_TRIGGER_STUCK:
                    Stuck();
                    return 0;
            }
            break;
        case WM_ENTERMENULOOP:
            log_.Write(L"menu open");
            break;
        case WM_EXITMENULOOP:
            log_.Write(L"menu closed");
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) log_.Write(L"minimize");
            if ((wParam & 0xFFF0) == SC_RESTORE) log_.Write(L"restore");
            break;
        case WM_CLOSE:
            log_.Write(L"close");
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            if (accel_) DestroyAcceleratorTable(accel_);
            accel_ = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

bool MainWindow::Busy(const wchar_t* request) {
    if (open_ == Open::None) return false;
    log_.Write(std::wstring(L"ignored ") + request);
    return true;
}

void MainWindow::SelectGame() {
    if (Busy(L"select")) return;
    open_ = Open::Select;
    const int initial = options_.selectInitial > 0 ? options_.selectInitial : RandomDeal();
    const SelectAnswer answer = RunSelectDialog(hwnd_, initial, log_);
    open_ = Open::None;
    if (answer.ok) {
        deal_ = answer.text;
        state_.clear();
        undos_ = 0;
        log_.Write(L"deal " + deal_);
        ShowStatus();
    }
}

void MainWindow::Undo() {
    if (Busy(L"undo")) return;
    ++undos_;
    log_.Write(L"undo " + std::to_wstring(undos_));
    ShowStatus();
}

void MainWindow::Win() {
    if (Busy(L"win")) return;
    open_ = Open::Win;
    // The moment of the win, before its dialog exists: a companion that
    // presses Enter as soon as the dialog is created closes it before it
    // is ever shown.
    log_.Write(L"won");
    state_ = L"勝ち";
    ShowStatus();
    RunWinDialog(hwnd_, options_.winEnters, log_);
    open_ = Open::None;
}

void MainWindow::Stuck() {
    if (Busy(L"stuck")) return;
    open_ = Open::Stuck;
    const StuckAnswer answer = RunStuckDialog(hwnd_, options_.stuckAutoMs, log_);
    open_ = Open::None;
    if (answer == StuckAnswer::Restart) {
        undos_ = 0;
        state_.clear();
        log_.Write(L"restart " + deal_);
    } else {
        deal_.clear();
        state_.clear();
    }
    ShowStatus();
}

void MainWindow::Stats() {
    if (Busy(L"stats")) return;
    open_ = Open::Stats;
    RunStatsDialog(hwnd_, log_);
    open_ = Open::None;
}

void MainWindow::ShowStatus() {
    std::wstring text = deal_.empty() ? L"ゲームなし" : L"ゲーム #" + deal_;
    if (!state_.empty()) text += L"  " + state_;
    text += L"  元に戻した回数: " + std::to_wstring(undos_);
    SetWindowTextW(status_, text.c_str());
}

}  // namespace dw::practice
