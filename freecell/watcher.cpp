#include "freecell/watcher.h"

#include "record/app_error.h"

namespace dw {

using namespace freecell;

void DialogWatcher::Timer1Timer(WindowHandle fcHnd, WindowHandle ownHnd) {
    // All three are probed before acting, and the steps act on these handles
    // even if the dialogs change meanwhile.
    const WindowHandle hSel = ws_.FindWindowByTitle(CkWord[kSelectGame]);
    const WindowHandle hLose = ws_.FindWindowByTitle(CkWord[kNoMoreMoves]);
    const WindowHandle hWin = ws_.FindWindowByTitle(CkWord[kWin]);

    if (hSel != kNoWindow) EnterDealNumber(hSel);
    if (hLose != kNoWindow) {
        record_.CountFailedTry();
        ui_.Refresh();
        WaitNoMoreMovesGone();
    }
    if (hWin != kNoWindow) BookWin(hWin, fcHnd, ownHnd);

    if (ws_.FindWindowByClass(kWindowClass) == kNoWindow) ui_.CloseProgram();
}

void DialogWatcher::EnterDealNumber(WindowHandle hSel) {
    if (record_.TakeDealNumber().wrapped) ui_.SetGameBoxToOne();
    ui_.ShowTryCount(record_.TryCnt);
    ws_.SetForeground(hSel);
    PutNumberOnClipboard(std::to_wstring(record_.GameNo));
    ws_.Post(ws_.FindChild(hSel, kEditClass), kPaste);
    ws_.Post(ws_.FindChild(hSel, kButtonClass), kEnter);
}

void DialogWatcher::PutNumberOnClipboard(const std::wstring& text) {
    const std::wstring expected = std::to_wstring(record_.WGameNo);
    for (int attempt = 1;; ++attempt) {
        ws_.SetClipboardText(text);
        if (ws_.GetClipboardText() == expected) return;
        if (attempt == kClipboardAttempts) break;
        ws_.Sleep(kClipboardRetryMs);
    }
    throw AppError(FormatMessageText(
        L"クリップボードが他のプログラムに書き換えられるため、ゲーム番号 %s を入力できません。"
        L"次の確認で再試行します",
        expected));
}

void DialogWatcher::WaitNoMoreMovesGone() {
    // The player answers this dialog in FreeCell; we only wait for it to go.
    do {
        ws_.Sleep(kNoMoreMovesPollMs);
    } while (ws_.FindWindowByTitle(CkWord[kNoMoreMoves]) != kNoWindow);
}

void DialogWatcher::BookWin(WindowHandle hWin, WindowHandle fcHnd, WindowHandle ownHnd) {
    const std::wstring line = record_.CountWin();
    ui_.InsertHistoryLine(line);
    ui_.Refresh();
    // The win is booked once, above; this loop only presses Enter until
    // FreeCell has closed the dialog.
    for (WindowHandle h = hWin; h != kNoWindow; h = ws_.FindWindowByTitle(CkWord[kWin])) {
        ws_.SetForeground(h);
        ws_.Post(ws_.FindChild(h, kButtonClass), kEnter);
    }
    ws_.SetForeground(fcHnd);
    for (const Message& m : OpenSelectGame()) ws_.Post(fcHnd, m);
    ws_.BringToTop(ownHnd);
    ui_.NextDealAsked();
}

}  // namespace dw
