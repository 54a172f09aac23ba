// The floor of the pause between games: the least a companion must do, each
// step as soon as a 1 ms look at the windows sees it. Started beside the
// practice FreeCell, it asks for deal N (F3), and from then on: at the
// select-game dialog it puts the number on the clipboard, selects and pastes
// into the field, and presses Enter once the field holds it (pasting again
// every 10 ms while it does not: another program may hold the clipboard); at
// the win dialog it presses Enter on its first button, and once the dialog
// is gone asks for the next deal. It books nothing, shows nothing, saves
// nothing. It ends when FreeCell's window is gone.
//
//   bench_floor_companion.exe [N]   (first deal, 1 by default)
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

constexpr wchar_t kSelect[] = L"ゲームの選択";
constexpr wchar_t kWin[] = L"勝ち";
constexpr DWORD kRepasteMs = 10;

void PostKey(HWND w, WPARAM key) {
    PostMessageW(w, WM_KEYDOWN, key, 0);
}

bool PutOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) return false;
    bool put = false;
    if (EmptyClipboard()) {
        const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
        if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
            if (void* p = GlobalLock(mem)) {
                memcpy(p, text.c_str(), bytes);
                GlobalUnlock(mem);
                put = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
            }
            if (!put) GlobalFree(mem);
        }
    }
    CloseClipboard();
    return put;
}

std::wstring FieldText(HWND edit) {
    wchar_t buf[64] = {};
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buf), SMTO_BLOCK, 200,
                             &n))
        return {};
    return std::wstring(buf, n < 64 ? n : 63);
}

// A 1 ms look that keeps reading our queue: the clipboard's owner window is
// ours, and Wine asks it (and waits) when FreeCell pastes.
void Look() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void Paste(HWND edit) {
    PostMessageW(edit, EM_SETSEL, 0, -1);
    PostMessageW(edit, WM_PASTE, 0, 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR cmd, int) {
    int deal = cmd && *cmd ? _wtoi(cmd) : 1;
    HWND owner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
    HWND freecell = nullptr;
    while (!(freecell = FindWindowW(L"FreeCell", nullptr))) Look();
    PostKey(freecell, VK_F3);
    PostMessageW(freecell, WM_KEYUP, VK_F3, 0);

    HWND filled = nullptr, pasting = nullptr, pressed = nullptr;
    std::wstring number;
    DWORD pastedAt = 0;
    for (;; Look()) {
        if (!IsWindow(freecell)) return 0;
        HWND select = FindWindowW(nullptr, kSelect);
        HWND edit = select ? FindWindowExW(select, nullptr, L"Edit", nullptr) : nullptr;
        HWND ok = select ? FindWindowExW(select, nullptr, L"Button", nullptr) : nullptr;
        if (!select) filled = pasting = nullptr;
        if (edit && ok && select != filled) {
            if (select != pasting) {
                number = std::to_wstring(deal);
                if (!PutOnClipboard(owner, number)) continue;
                Paste(edit);
                pasting = select;
                pastedAt = GetTickCount();
            } else if (FieldText(edit) == number) {
                PostKey(ok, VK_RETURN);
                filled = select;
            } else if (GetTickCount() - pastedAt >= kRepasteMs) {
                Paste(edit);
                pastedAt = GetTickCount();
            }
        }
        HWND win = FindWindowW(nullptr, kWin);
        HWND button = win ? FindWindowExW(win, nullptr, L"Button", nullptr) : nullptr;
        if (button && win != pressed) {
            PostKey(button, VK_RETURN);
            pressed = win;
        } else if (!win && pressed) {
            pressed = nullptr;
            ++deal;
            PostKey(freecell, VK_F3);
            PostMessageW(freecell, WM_KEYUP, VK_F3, 0);
        }
    }
}
