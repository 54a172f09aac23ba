#pragma once
// The score window's history box: a read-only multi-line edit that keeps
// every result line of the run, newest on top. An edit control holds 30000
// characters unless told otherwise, which a long run passes after a few
// thousand games.
#include <windows.h>

#include <string>
#include <vector>

namespace dw {

class HistoryBox {
public:
    // Room for any run: about 180 million ten-character lines.
    static constexpr DWORD kTextLimit = 0x7FFFFFFE;

    // Creates the edit control (read-only, multi-line, wrapped at word
    // boundaries, vertical scroll bar, not a tab stop) with its limit lifted.
    void Create(HWND parent, int x, int y, int width, int height, int id);
    HWND Hwnd() const { return edit_; }

    // Replaces the whole text, one line an entry, the first on top.
    void SetLines(const std::vector<std::wstring>& lines);
    // A new line above the first one, scrolled into view.
    void InsertOnTop(const std::wstring& line);

private:
    HWND edit_ = nullptr;
};

}  // namespace dw
