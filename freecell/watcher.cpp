#include "freecell/watcher.h"

#include <functional>
#include <utility>

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
    stopping_ = false;
    // All three are probed before acting, and the steps act on these handles
    // even if the dialogs change meanwhile.
    const WindowHandle hSel = ws_.FindWindowByTitle(CkWord[kSelectGame]);
    const WindowHandle hLose = ws_.FindWindowByTitle(CkWord[kNoMoreMoves]);
    const WindowHandle hWin = ws_.FindWindowByTitle(CkWord[kWin]);

    // A dialog from before the run is not booked; once gone, it is forgotten.
    if (hLose != oldLose_) oldLose_ = kNoWindow;
    if (hWin != oldWin_) oldWin_ = kNoWindow;
    AskAgainIfDropped(fcHnd, ownHnd, hSel, hLose, hWin);

    if (hSel != kNoWindow)
        EnterDealNumber(hSel);
    else
        filledSel_ = kNoWindow;
    if (hLose != kNoWindow && hLose != oldLose_) {
        record_.CountFailedTry();
        ui_.Refresh();
        WaitNoMoreMovesGone(hLose);
    }
    if (stopping_) return {};
    if (hWin != kNoWindow) {
        // A dialog left to the player is the win already booked.
        if (!winLeft_ && hWin != oldWin_) BookWin(hWin, fcHnd, ownHnd);
    } else if (winLeft_) {
        winLeft_ = false;
        AskForNextDeal(fcHnd, ownHnd);
    }
    if (stopping_) return {};

    return {.freeCellGone = ws_.FindWindowByClass(kWindowClass) == kNoWindow};
}

void DialogWatcher::StartRun() {
    oldLose_ = ws_.FindWindowByTitle(CkWord[kNoMoreMoves]);
    oldWin_ = ws_.FindWindowByTitle(CkWord[kWin]);
}

void DialogWatcher::AskForNextDeal(WindowHandle fcHnd, WindowHandle ownHnd) {
    // Looked at before F3 goes: a moment later the select-game dialog F3
    // opens would look the same.
    const bool busy = ws_.InMenu(fcHnd) || !ws_.IsEnabled(fcHnd);
    dw::AskForNextDeal(ws_, fcHnd, ownHnd);
    filledSel_ = kNoWindow;
    if (!awaiting_) reasks_ = 0;
    awaiting_ = true;
    blocked_ = busy;
    askedAt_ = ws_.NowMs();
}

bool DialogWatcher::FreeCellBusy(WindowHandle fcHnd, WindowHandle hSel, WindowHandle hLose,
                                 WindowHandle hWin) {
    // The run's own dialogs take FreeCell's input too: they are not in the way.
    if (hSel != kNoWindow || (hLose != kNoWindow && hLose != oldLose_) ||
        (hWin != kNoWindow && hWin != oldWin_))
        return false;
    return ws_.InMenu(fcHnd) || !ws_.IsEnabled(fcHnd);
}

void DialogWatcher::AskAgainIfDropped(WindowHandle fcHnd, WindowHandle ownHnd, WindowHandle hSel,
                                      WindowHandle hLose, WindowHandle hWin) {
    if (!awaiting_) return;
    if (hSel != kNoWindow) {
        awaiting_ = false;
        return;
    }
    if (FreeCellBusy(fcHnd, hSel, hLose, hWin)) {
        blocked_ = true;
        return;
    }
    // Nothing booked again: only the ask that was lost is made anew.
    if (blocked_ && Since(askedAt_) >= kReaskAfterMs && reasks_ < kReaskLimit) {
        ++reasks_;
        AskForNextDeal(fcHnd, ownHnd);
    }
}

std::optional<unsigned> DialogWatcher::LookAgainIn() const {
    if (winLeft_) return kLeftWinPollMs;
    if (awaiting_ && blocked_ && reasks_ < kReaskLimit) return kBlockedPollMs;
    return std::nullopt;
}

void DialogWatcher::EnterDealNumber(WindowHandle hSel) {
    if (hSel == filledSel_) return;
    // A dialog is found as soon as it is created, before its controls are:
    // it is filled by a later tick, once both are there to take the number.
    const WindowHandle edit = ws_.FindChild(hSel, kEditClass);
    const WindowHandle button = ws_.FindChild(hSel, kButtonClass);
    if (edit == kNoWindow || button == kNoWindow) return;

    const bool wrapped = record_.TakeDealNumber().wrapped;
    // The score window follows once the number has gone out (or could not).
    const ScopeGuard show([&] {
        if (wrapped) ui_.SetGameBoxToOne();
        ui_.ShowTryCount(record_.TryCnt);
    });
    const std::wstring text = std::to_wstring(record_.GameNo);
    PutNumberOnClipboard(text);
    // In front before anything is posted to it; a dialog just created has
    // mostly come to the front by itself meanwhile.
    ws_.SetForeground(hSel);
    // Enter deals whatever the field holds: only on the number booked.
    if (!FieldTakes(hSel, edit, text))
        throw AppError(FormatMessageText(
            L"フリーセルの「ゲームの選択」にゲーム番号 %s を入力できません。次の確認で再試行します",
            text));
    ws_.Post(button, kEnter);
    filledSel_ = hSel;
    awaiting_ = false;
}

void DialogWatcher::PutNumberOnClipboard(const std::wstring& text) {
    const std::wstring expected = std::to_wstring(record_.WGameNo);
    const std::uint64_t start = ws_.NowMs();
    for (;;) {
        const ClipboardTry t = ws_.PutClipboardText(text);
        if (t.opened && t.readBack == expected) return;
        if (Since(start) >= kClipboardBoundMs || !Pause(kClipboardRetryMs)) {
            if (!t.opened)
                throw AppError(FormatMessageText(L"クリップボード %s を開けません", t.busyReason));
            throw AppError(FormatMessageText(
                L"クリップボードが他のプログラムに書き換えられるため、ゲーム番号 %s "
                L"を入力できません。次の確認で再試行します",
                expected));
        }
    }
}

bool DialogWatcher::FieldTakes(WindowHandle hSel, WindowHandle edit, const std::wstring& text) {
    // FreeCell's own paste finds the clipboard busy as ours can, and then
    // leaves the field as it was: pasted again until the field shows it. A
    // dialog not shown yet has not come to our paste: asked before, the
    // field would answer with what it held, and its thread, busy showing the
    // dialog, would answer the next question only once it is drawn.
    const std::uint64_t start = ws_.NowMs();
    for (;;) {
        ws_.Post(edit, kSelectAll);
        ws_.Post(edit, kPaste);
        const std::uint64_t pasted = ws_.NowMs();
        do {
            if (!Pause(kFieldPollMs)) return false;
            if (ws_.IsVisible(hSel) && FieldHolds(edit, text)) return true;
        } while (Since(pasted) < kRepasteMs);
        if (Since(start) >= kFieldBoundMs) break;
    }
    // Something else keeps the clipboard's number out of the field (another
    // program puts its own there): the number is written into it instead.
    return ws_.SetText(edit, text) && FieldHolds(edit, text);
}

bool DialogWatcher::FieldHolds(WindowHandle edit, const std::wstring& text) {
    const auto held = ws_.GetText(edit);
    return held && *held == text;
}

void DialogWatcher::WaitNoMoreMovesGone(WindowHandle hLose) {
    // The player answers this dialog in FreeCell; we only wait for it to go.
    // Another one in its place is another failed try, for the next tick.
    const auto held = HeldInput(ui_);
    do {
        if (!Pause(kNoMoreMovesPollMs)) return;
    } while (ws_.FindWindowByTitle(CkWord[kNoMoreMoves]) == hLose);
}

void DialogWatcher::BookWin(WindowHandle hWin, WindowHandle fcHnd, WindowHandle ownHnd) {
    const std::wstring line = record_.CountWin();
    const std::uint64_t start = ws_.NowMs();
    bool shown = false, held = false;
    const ScopeGuard release([&] {
        if (held) ui_.HoldInput(false);
    });
    const auto show = [&] {
        if (std::exchange(shown, true)) return;
        ui_.InsertHistoryLine(line);
        ui_.Refresh();
    };
    // The score window is brought up to date once FreeCell has been asked
    // for the next deal (while it opens that dialog, which we wait to hear
    // of anyway), or once the win dialog has been slow to go; the bar is
    // greyed only then (a command that comes sooner is dropped all the
    // same, and a bar that flickers grey at every win says nothing).
    const bool gone = DismissWin(hWin, [&] {
        if (!held && Since(start) >= kHoldAfterMs) {
            show();
            held = true;
            ui_.HoldInput(true);
        }
    });
    if (!gone) {
        show();
        winLeft_ = true;
        return;
    }
    AskForNextDeal(fcHnd, ownHnd);
    AwaitNextDeal();
    show();
}

void DialogWatcher::AwaitNextDeal() {
    // Until FreeCell has dealt the next game, our windows draw nothing: it
    // needs the machine (and the window system) for that meanwhile.
    const std::uint64_t asked = ws_.NowMs();
    WindowHandle filled = kNoWindow;
    while (Since(asked) < kNextDialogLookMs) {
        if (!ws_.Look(kFieldPollMs) || stopping_) return;
        const WindowHandle hSel = ws_.FindWindowByTitle(CkWord[kSelectGame]);
        if (filled != kNoWindow) {
            if (hSel != filled) return;  // dealt
            continue;
        }
        if (hSel == kNoWindow || ws_.FindChild(hSel, kButtonClass) == kNoWindow) continue;
        EnterDealNumber(hSel);
        if (filledSel_ != hSel) return;
        filled = hSel;
    }
}

bool DialogWatcher::DismissWin(WindowHandle hWin, const std::function<void()>& meanwhile) {
    // The win is booked once, before this; here Enter is only pressed until
    // FreeCell has closed the dialog, following it if it is replaced.
    const std::uint64_t start = ws_.NowMs();
    WindowHandle h = hWin;
    bool anyPress = false;
    while (h != kNoWindow) {
        if (Since(start) >= kWinPressBoundMs) return false;
        // Seen as soon as it is created, it may not have its button yet.
        const WindowHandle button = ws_.FindChild(h, kButtonClass);
        std::uint64_t pressed = 0;
        if (button != kNoWindow) {
            ws_.SetForeground(h);
            ws_.Post(button, kEnter);
            pressed = ws_.NowMs();
            anyPress = true;
        }
        // Nothing else until the first Enter has gone out.
        if (anyPress) meanwhile();
        do {
            if (!Pause(kWinProbeMs)) return false;
            if (anyPress) meanwhile();
            h = ws_.FindWindowByTitle(CkWord[kWin]);
        } while (h != kNoWindow && button != kNoWindow && Since(pressed) < kWinPressGapMs);
    }
    return true;
}

}  // namespace dw
