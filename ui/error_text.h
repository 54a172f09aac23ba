#pragma once
#include <string>

namespace dw {

// The general error box's text: the message with "." appended unless it
// already ends in "." or a character before it in code order.
std::wstring ErrorBoxText(const std::wstring& message);

}  // namespace dw
