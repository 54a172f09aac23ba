#pragma once
#include <windows.h>

#include <string>

namespace dw::win {

// The system's text for an error code, with trailing blanks and periods
// removed so it reads inside a sentence.
std::wstring SystemErrorText(DWORD code);

}  // namespace dw::win
