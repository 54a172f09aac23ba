#include "ui/message_boxes_win.h"

#include <windows.h>

#include "record/app_error.h"
#include "win/error_box_win.h"

namespace dw {

void Win32MessageBoxes::ShowError(const std::wstring& message) {
    ShowGeneralErrorBox(message);
}

bool Win32MessageBoxes::AskYesNo(const std::wstring& text) {
    return win::ShowBox(text, kAppTitle, MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2) == IDYES;
}

}  // namespace dw
