#include "ui/history_box_win.h"

namespace dw {

void HistoryBox::Create(HWND parent, int x, int y, int width, int height, int id) {
    edit_ = CreateWindowExW(
        0, L"EDIT", L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, x, y,
        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(edit_, EM_SETLIMITTEXT, kTextLimit, 0);
}

void HistoryBox::SetLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines) {
        if (!text.empty()) text += L"\r\n";
        text += line;
    }
    SetWindowTextW(edit_, text.c_str());
}

void HistoryBox::InsertOnTop(const std::wstring& line) {
    SendMessageW(edit_, EM_SETSEL, 0, 0);
    const std::wstring withBreak = GetWindowTextLengthW(edit_) ? line + L"\r\n" : line;
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(withBreak.c_str()));
    SendMessageW(edit_, EM_SETSEL, 0, 0);
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

}  // namespace dw
