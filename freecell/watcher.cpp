#include "freecell/watcher.h"

#include "freecell/freecell_asks.h"
#include "record/app_error.h"
#include "record/scope_guard.h"

namespace dw {

using namespace freecell;

namespace {

// The player's commands are held for as long as one wait lasts, however it ends.
auto HeldInput(IScoreRequests& ui) {
    return HoldFor([&ui](bool held) { ui.HoldInput(held); });
}

}  // namespace

TickOutcome DialogWatcher::Timer1Timer(WindowHandle fcHnd, WindowHandle ownHnd) {
    // All three are probed before acting, and the steps act on these handles
    // even if the dialogs change meanwhile.
    const WindowHandle hSel = ws_.FindWindowByTitle(CkWord[kSelectGame]);
    const WindowHandle hLose = ws_.FindWindowByTitle(CkWord[kNoMoreMoves]);
    const WindowHandle hWin = ws_.FindWindowByTitle(CkWord[kWin]);

    if (hSel != kNoWindow)
        EnterDealNumber(hSel);
    else
        filledSel_ = kNoWindow;
    if (hLose != kNoWindow) {
        record_.CountFailedTry();
        ui_.Refresh();
        WaitNoMoreMovesGone(hLose);
    }
    if (hWin != kNoWindow) {
        // A dialog left to the player is the win already booked.
        if (!winLeft_) BookWin(hWin, fcHnd, ownHnd);
    } else if (winLeft_) {
        winLeft_ = false;
        AskForTheNextDeal(fcHnd, ownHnd);
    }

    return {.freeCellGone = ws_.FindWindowByClass(kWindowClass) == kNoWindow};
}

void DialogWatcher::EnterDealNumber(WindowHandle hSel) {
    if (hSel == filledSel_) return;
    // A dialog is found as soon as it is created, before its controls are:
    // it is filled by a later tick, once both are there to take the number.
    const WindowHandle edit = ws_.FindChild(hSel, kEditClass);
    const WindowHandle button = ws_.FindChild(hSel, kButtonClass);
    if (edit == kNoWindow || button == kNoWindow) return;

    if (record_.TakeDealNumber().wrapped) ui_.SetGameBoxToOne();
    ui_.ShowTryCount(record_.TryCnt);
    ws_.SetForeground(hSel);
    PutNumberOnClipboard(std::to_wstring(record_.GameNo));
    ws_.Post(edit, kPaste);
    ws_.Post(button, kEnter);
    filledSel_ = hSel;
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

void DialogWatcher::WaitNoMoreMovesGone(WindowHandle hLose) {
    // The player answers this dialog in FreeCell; we only wait for it to go.
    // Another one in its place is another failed try, for the next tick.
    const auto held = HeldInput(ui_);
    do {
        if (!ws_.Pause(kNoMoreMovesPollMs)) return;
    } while (ws_.FindWindowByTitle(CkWord[kNoMoreMoves]) == hLose);
}

void DialogWatcher::BookWin(WindowHandle hWin, WindowHandle fcHnd, WindowHandle ownHnd) {
    const std::wstring line = record_.CountWin();
    ui_.InsertHistoryLine(line);
    ui_.Refresh();
    if (!DismissWin(hWin)) {
        winLeft_ = true;
        return;
    }
    AskForTheNextDeal(fcHnd, ownHnd);
}

void DialogWatcher::AskForTheNextDeal(WindowHandle fcHnd, WindowHandle ownHnd) {
    AskForNextDeal(ws_, fcHnd, ownHnd);
    filledSel_ = kNoWindow;
}

bool DialogWatcher::DismissWin(WindowHandle hWin) {
    // The win is booked once, before this; here Enter is only pressed until
    // FreeCell has closed the dialog, following it if it is replaced.
    const auto held = HeldInput(ui_);
    WindowHandle h = hWin;
    for (int presses = 0; h != kNoWindow; ++presses) {
        if (presses == kWinPressLimit) return false;
        ws_.SetForeground(h);
        ws_.Post(ws_.FindChild(h, kButtonClass), kEnter);
        for (unsigned waited = 0; waited < kWinPressGapMs && h != kNoWindow;
             waited += kWinProbeMs) {
            if (!ws_.Pause(kWinProbeMs)) return false;
            h = ws_.FindWindowByTitle(CkWord[kWin]);
        }
    }
    return true;
}

}  // namespace dw
