#pragma once
// What Dealwarden relies on FreeCell of Windows 7 (Japanese) to be and do.
// FreeCell is not ours: these names, titles and key sequences are the whole
// contract, kept in one place so nothing else hard-codes them.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace dw::freecell {

inline constexpr std::wstring_view kWindowClass = L"FreeCell";
inline constexpr std::wstring_view kExeName = L"FREECELL.EXE";
// Below the root of the drive that holds the Windows directory.
inline constexpr std::wstring_view kInstallPath =
    L"Program Files\\Microsoft Games\\FreeCell\\FREECELL.EXE";

// CkWord: the dialog titles, in the order the watcher handles them.
inline constexpr std::array<std::wstring_view, 3> CkWord = {
    L"ゲームの選択",              // select game: "Edit" field + "Button" children
    L"これ以上、移動できません",  // no more moves: the player answers it
    L"勝ち",                      // win: Enter on its first "Button" dismisses it
};
inline constexpr int kSelectGame = 0;
inline constexpr int kNoMoreMoves = 1;
inline constexpr int kWin = 2;

inline constexpr std::wstring_view kEditClass = L"Edit";
inline constexpr std::wstring_view kButtonClass = L"Button";

// Window messages by number, so the contract needs no Windows header.
inline constexpr unsigned kWM_CLOSE = 0x0010;
inline constexpr unsigned kWM_KEYDOWN = 0x0100;
inline constexpr unsigned kWM_KEYUP = 0x0101;
inline constexpr unsigned kWM_SYSKEYDOWN = 0x0104;
inline constexpr unsigned kWM_SYSCOMMAND = 0x0112;
inline constexpr unsigned kWM_PASTE = 0x0302;
inline constexpr unsigned kEM_SETSEL = 0x00B1;
inline constexpr std::uintptr_t kSC_MINIMIZE = 0xF020;
inline constexpr std::uintptr_t kSC_KEYMENU = 0xF100;
inline constexpr std::uintptr_t kSC_RESTORE = 0xF120;
inline constexpr std::uintptr_t kVK_RETURN = 0x0D;
inline constexpr std::uintptr_t kVK_MENU = 0x12;
inline constexpr std::uintptr_t kVK_F3 = 0x72;

struct Message {
    unsigned msg;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Message&) const = default;
};

// Sequences posted (never sent) to FreeCell's main window.
inline const std::vector<Message>& OpenSelectGame() {
    static const std::vector<Message> seq = {{kWM_KEYDOWN, kVK_F3, 0}, {kWM_KEYUP, kVK_F3, 0}};
    return seq;
}
// Alt+G opens the Game menu ("ゲーム(&G)"), U chooses "元に戻す(&U)".
inline const std::vector<Message>& Undo() {
    static const std::vector<Message> seq = {{kWM_SYSCOMMAND, kSC_KEYMENU, 0},
                                             {kWM_SYSKEYDOWN, 'G', 0},
                                             {kWM_KEYUP, kVK_MENU, 0},
                                             {kWM_KEYDOWN, 'U', 0},
                                             {kWM_KEYUP, 'U', 0}};
    return seq;
}
inline constexpr Message kClose = {kWM_CLOSE, 0, 0};
inline constexpr Message kMinimize = {kWM_SYSCOMMAND, kSC_MINIMIZE, 0};
inline constexpr Message kRestore = {kWM_SYSCOMMAND, kSC_RESTORE, 0};
// To the select-game dialog's "Edit" child, then Enter to a dialog's first "Button".
// The whole field is selected before each paste, so a paste replaces what
// it holds however often it is pasted (the field keeps its selection only
// until the player clicks in it, or a first paste went through).
inline constexpr Message kSelectAll = {kEM_SETSEL, 0, -1};
inline constexpr Message kPaste = {kWM_PASTE, 0, 0};
inline constexpr Message kEnter = {kWM_KEYDOWN, kVK_RETURN, 0};

}  // namespace dw::freecell
