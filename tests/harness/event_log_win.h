#pragma once
// Reading the practice FreeCell's event log (UTF-8, one event a line) while
// the program writes it.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "harness/windows_win.h"

namespace dw::harness {

class EventLogReader {
public:
    explicit EventLogReader(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& Path() const { return path_; }

    std::vector<std::wstring> Lines() const;  // complete lines only; none if no file
    std::size_t Count(const std::wstring& line) const;
    bool Contains(const std::wstring& line) const { return Count(line) > 0; }
    // Index of the first line equal to line at or after index from, waiting
    // for it to be written; nullopt on timeout.
    std::optional<std::size_t> WaitForLine(const std::wstring& line, std::size_t from = 0,
                                           milliseconds timeout = kDefaultTimeout) const;
    // Same for a line that starts with prefix.
    std::optional<std::size_t> WaitForPrefix(const std::wstring& prefix, std::size_t from = 0,
                                             milliseconds timeout = kDefaultTimeout) const;
    // Until line has been written count times.
    bool WaitForCount(const std::wstring& line, std::size_t count,
                      milliseconds timeout = kDefaultTimeout) const;
    std::wstring Dump() const;  // the whole log, for failure messages

private:
    std::optional<std::size_t> WaitForMatch(const std::function<bool(const std::wstring&)>& match,
                                            std::size_t from, milliseconds timeout) const;

    std::wstring path_;
};

}  // namespace dw::harness
