#include "record/app_error.h"

namespace dw {

std::wstring FormatMessageText(const std::wstring& pattern, const std::wstring& arg) {
    std::wstring out = pattern;
    if (auto at = out.find(L"%s"); at != std::wstring::npos) out.replace(at, 2, arg);
    return out;
}

std::wstring ErrorBoxText(const std::wstring& message) {
    if (!message.empty() && message.back() <= L'.') return message;
    return message + L".";
}

}  // namespace dw
