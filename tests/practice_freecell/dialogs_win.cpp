#include <string>

#include "dialogs_win.h"
#include "resource_ids.h"

namespace dw::practice {
namespace {

struct DialogState {
    EventLog& log;
    const wchar_t* name;  // as it appears in the log
    int number = 0;       // select: initial deal; win: Enters needed; stuck: auto answer ms
    int presses = 0;
    std::wstring text;
};

constexpr UINT_PTR kAutoAnswerTimer = 1;

DialogState& StateOf(HWND dlg) {
    return *reinterpret_cast<DialogState*>(GetWindowLongPtrW(dlg, DWLP_USER));
}

std::wstring TextOf(HWND w) {
    const int n = GetWindowTextLengthW(w);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), n + 1)));
    return text;
}

// The deal field tells the log what each paste and each text set directly
// did to it: a paste that finds the clipboard held by another program
// leaves the field as it was ("paste took nothing").
constexpr wchar_t kFieldProcProp[] = L"PracticeFieldProc";

LRESULT CALLBACK FieldProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(edit, kFieldProcProp));
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(edit, kFieldProcProp);
        return CallWindowProcW(original, edit, msg, wParam, lParam);
    }
    if (msg != WM_PASTE && msg != WM_SETTEXT)
        return CallWindowProcW(original, edit, msg, wParam, lParam);
    const std::wstring before = TextOf(edit);
    const LRESULT r = CallWindowProcW(original, edit, msg, wParam, lParam);
    const std::wstring after = TextOf(edit);
    DialogState& s = StateOf(GetParent(edit));
    if (msg == WM_SETTEXT)
        s.log.Write(L"field set " + after);
    else
        s.log.Write(after == before ? std::wstring(L"paste took nothing") : L"paste took " + after);
    return r;
}

void WatchField(HWND edit) {
    SetPropW(edit, kFieldProcProp, reinterpret_cast<HANDLE>(GetWindowLongPtrW(edit, GWLP_WNDPROC)));
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc));
}

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(dlg, DWLP_USER, lParam);
        auto& s = *reinterpret_cast<DialogState*>(lParam);
        if (HWND edit = GetDlgItem(dlg, IDC_DEAL_EDIT)) {
            SetWindowTextW(edit, std::to_wstring(s.number).c_str());
            // Selected whether or not it has the focus: a paste replaces it.
            SendMessageW(edit, EM_SETSEL, 0, -1);
            WatchField(edit);
        }
        if (GetDlgItem(dlg, IDC_RESTART) && s.number >= 0)
            SetTimer(dlg, kAutoAnswerTimer, static_cast<UINT>(s.number), nullptr);
        return TRUE;
    }
    if (GetWindowLongPtrW(dlg, DWLP_USER) == 0) return FALSE;
    DialogState& s = StateOf(dlg);
    switch (msg) {
        case WM_SHOWWINDOW:
            if (wParam) s.log.Write(std::wstring(L"shown ") + s.name);
            return FALSE;
        case WM_TIMER:
            if (wParam == kAutoAnswerTimer) {
                KillTimer(dlg, kAutoAnswerTimer);
                s.log.Write(L"auto stuck restart");
                EndDialog(dlg, IDC_RESTART);
                return TRUE;
            }
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    if (HWND edit = GetDlgItem(dlg, IDC_DEAL_EDIT)) {
                        const int n = GetWindowTextLengthW(edit);
                        s.text.assign(n + 1, L'\0');
                        s.text.resize(GetWindowTextW(edit, s.text.data(), n + 1));
                        EndDialog(dlg, IDOK);
                    } else {
                        // The win dialog: every press counts, the last one closes it.
                        ++s.presses;
                        s.log.Write(std::wstring(L"pressed ") + s.name + L" " +
                                    std::to_wstring(s.presses));
                        if (s.presses >= s.number) EndDialog(dlg, IDOK);
                    }
                    return TRUE;
                case IDCANCEL:
                    // The stuck dialog has no way out but its two answers.
                    if (!GetDlgItem(dlg, IDC_RESTART)) EndDialog(dlg, IDCANCEL);
                    return TRUE;
                case IDC_RESTART:
                case IDC_END:
                    EndDialog(dlg, LOWORD(wParam));
                    return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

INT_PTR Run(HWND owner, int id, DialogState& s) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), owner, DialogProc,
                           reinterpret_cast<LPARAM>(&s));
}

}  // namespace

SelectAnswer RunSelectDialog(HWND owner, int initial, EventLog& log) {
    DialogState s{log, L"select", initial, 0, {}};
    const bool ok = Run(owner, IDD_SELECT, s) == IDOK;
    log.Write(ok ? L"closed select ok" : L"closed select cancel");
    return {ok, ok ? s.text : std::wstring()};
}

void RunWinDialog(HWND owner, int enters, EventLog& log) {
    DialogState s{log, L"win", enters, 0, {}};
    const bool ok = Run(owner, IDD_WIN, s) == IDOK;
    log.Write(ok ? L"closed win ok" : L"closed win cancel");
}

void RunStatsDialog(HWND owner, EventLog& log) {
    DialogState s{log, L"stats", 0, 0, {}};
    Run(owner, IDD_STATS, s);
    log.Write(L"closed stats");
}

StuckAnswer RunStuckDialog(HWND owner, int autoMs, EventLog& log) {
    DialogState s{log, L"stuck", autoMs, 0, {}};
    const bool restart = Run(owner, IDD_STUCK, s) == IDC_RESTART;
    log.Write(restart ? L"closed stuck restart" : L"closed stuck end");
    return restart ? StuckAnswer::Restart : StuckAnswer::End;
}

}  // namespace dw::practice
