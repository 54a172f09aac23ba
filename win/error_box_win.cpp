#include "win/error_box_win.h"

#include <windows.h>

#include <set>

#include "record/app_error.h"

namespace dw {

void ShowGeneralErrorBox(const std::wstring& message) {
    static std::set<std::wstring> open;
    const std::wstring text = ErrorBoxText(message);
    if (!open.insert(text).second) return;
    MessageBoxW(nullptr, text.c_str(), kAppTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    open.erase(text);
}

}  // namespace dw
