#pragma once
// The one kind of failure the program reports to the player: an operation
// that cannot complete raises it, the current handler ends, and the general
// error box shows its message.
#include <exception>
#include <string>

namespace dw {

class AppError : public std::exception {
public:
    explicit AppError(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return "Dealwarden error"; }

private:
    std::wstring message_;
};

// "%s" in a message pattern replaced by one argument, as the player sees it.
std::wstring FormatMessageText(const std::wstring& pattern, const std::wstring& arg);

// The general error box's text: the message with "." appended unless it
// already ends in "." or a character before it in code order.
std::wstring ErrorBoxText(const std::wstring& message);

// The application's title, on its taskbar entry and on every box it shows.
inline constexpr wchar_t kAppTitle[] = L"Dealwarden";

}  // namespace dw
