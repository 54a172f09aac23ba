#pragma once
// The game number box: what typing it accepts, how it is brought into range
// when it loses the focus, and how the menu command reads it.
#include <cstdint>
#include <optional>
#include <string>

namespace dw {

inline constexpr std::int32_t kSpinMin = 1;
inline constexpr std::int32_t kSpinMax = 1000000;

// Digits, "+", "-" and the decimal separator; control keys (backspace,
// paste, cut...) always pass.
bool SpinAcceptsChar(wchar_t c, wchar_t decimalSeparator);

// A signed decimal 32-bit integer and nothing else, or nothing.
std::optional<std::int32_t> ParseDecimalInt(const std::wstring& text);

// The text the box shows after losing the focus: in range, or the lowest
// value when the text is not a number.
std::int32_t ClampSpinValue(const std::wstring& text);

// An arrow click: the value moved by delta, kept in range.
std::int32_t StepSpinValue(const std::wstring& text, int delta);

}  // namespace dw
