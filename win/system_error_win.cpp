#include "win/system_error_win.h"

namespace dw::win {

std::wstring SystemErrorText(DWORD code) {
    wchar_t* buf = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::wstring text = n && buf ? std::wstring(buf, n) : L"エラー " + std::to_wstring(code);
    if (buf) LocalFree(buf);
    while (!text.empty() && (text.back() == L'.' || text.back() == L'。' || iswspace(text.back())))
        text.pop_back();
    return text;
}

}  // namespace dw::win
