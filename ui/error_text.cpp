#include "ui/error_text.h"

namespace dw {

std::wstring ErrorBoxText(const std::wstring& message) {
    if (!message.empty() && message.back() <= L'.') return message;
    return message + L".";
}

}  // namespace dw
