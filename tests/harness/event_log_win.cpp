#include <windows.h>

#include <algorithm>

#include "harness/event_log_win.h"
#include "harness/files_win.h"
#include "win/handles_win.h"

namespace dw::harness {
namespace {

std::string ReadShared(const std::wstring& path) {
    // The writer keeps the file open: share everything.
    win::UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string data;
    if (!f) return data;
    char buf[8192];
    DWORD got = 0;
    while (ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
    return data;
}

}  // namespace

std::vector<std::wstring> EventLogReader::Lines() const {
    const std::string data = ReadShared(path_);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = data.find('\n', start)) != std::string::npos; start = nl + 1) {
        std::string_view line(data.data() + start, nl - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(Utf8ToWide(line));
    }
    return lines;
}

std::size_t EventLogReader::Count(const std::wstring& line) const {
    const auto lines = Lines();
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

std::optional<std::size_t> EventLogReader::WaitForMatch(
    const std::function<bool(const std::wstring&)>& match, std::size_t from,
    milliseconds timeout) const {
    std::optional<std::size_t> at;
    WaitUntil(
        [&] {
            const auto lines = Lines();
            for (std::size_t i = from; i < lines.size(); ++i)
                if (match(lines[i])) return (at = i).has_value();
            return false;
        },
        timeout);
    return at;
}

std::optional<std::size_t> EventLogReader::WaitForLine(const std::wstring& line, std::size_t from,
                                                       milliseconds timeout) const {
    return WaitForMatch([&](const std::wstring& l) { return l == line; }, from, timeout);
}

std::optional<std::size_t> EventLogReader::WaitForPrefix(const std::wstring& prefix,
                                                         std::size_t from,
                                                         milliseconds timeout) const {
    return WaitForMatch([&](const std::wstring& l) { return l.starts_with(prefix); }, from,
                        timeout);
}

bool EventLogReader::WaitForCount(const std::wstring& line, std::size_t count,
                                  milliseconds timeout) const {
    return WaitUntil([&] { return Count(line) >= count; }, timeout);
}

std::wstring EventLogReader::Dump() const {
    std::wstring out;
    for (const auto& l : Lines()) out += l + L"\n";
    return out;
}

}  // namespace dw::harness
