#include "run/spin_rules.h"

#include <algorithm>
#include <limits>

namespace dw {

bool SpinAcceptsChar(wchar_t c, wchar_t decimalSeparator) {
    return c < L' ' || (c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == decimalSeparator;
}

std::optional<std::int32_t> ParseDecimalInt(const std::wstring& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    if (i == text.size()) return std::nullopt;
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        v = v * 10 + (text[i] - L'0');
        if (v > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) v = -v;
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(v);
}

std::int32_t ClampSpinValue(const std::wstring& text) {
    const auto v = ParseDecimalInt(text);
    if (!v) return kSpinMin;
    return std::clamp(*v, kSpinMin, kSpinMax);
}

std::int32_t StepSpinValue(const std::wstring& text, int delta) {
    const std::int64_t v = std::int64_t{ClampSpinValue(text)} + delta;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, kSpinMin, kSpinMax));
}

}  // namespace dw
