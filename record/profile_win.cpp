#include "record/profile_win.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "record/settings.h"
#include "win/handles_win.h"
#include "win/system_error_win.h"

namespace dw {
namespace {

// A file the profile functions will keep in UTF-16LE: on a new or empty file
// they would use the ANSI code page, where Japanese may turn into "?".
bool CreateUnicodeIni(const std::wstring& path) {
    win::UniqueHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return false;
    static constexpr BYTE kBom[] = {0xFF, 0xFE};
    DWORD written = 0;
    return WriteFile(h.get(), kBom, sizeof kBom, &written, nullptr) && written == sizeof kBom &&
           FlushFileBuffers(h.get());
}

// True when the ANSI code page has no character for some of text (a
// Japanese history line on a Western system, say).
bool NeedsUnicode(const std::wstring& text) {
    if (text.empty()) return false;
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        nullptr, 0, nullptr, &usedDefault);
    return usedDefault != FALSE;
}

// An existing ANSI file turned into UTF-16LE with the byte order mark, each
// character as the profile functions read it (through the ANSI code page), so
// every value reads the same afterwards. Files already marked Unicode or
// UTF-8, and missing or empty ones, are left alone. false when it could not.
bool MakeUnicode(const std::wstring& path) {
    std::string bytes;
    {
        win::UniqueHandle h(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h) return GetLastError() == ERROR_FILE_NOT_FOUND;
        // The mark is looked at first: a save asks for every Japanese value,
        // and reading a large file whole each time (one that has collected
        // megabytes of other text, say) would cost such a save seconds.
        char head[3] = {};
        DWORD got = 0;
        if (!ReadFile(h.get(), head, sizeof head, &got, nullptr)) return false;
        const std::string_view start(head, got);
        if (start.empty() || start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF") ||
            start.starts_with("\xEF\xBB\xBF"))
            return true;
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(h.get(), &size) || size.QuadPart > 64 * 1024 * 1024 ||
            size.QuadPart < got)
            return false;
        bytes.assign(start);
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        const DWORD rest = static_cast<DWORD>(bytes.size() - got);
        DWORD read = 0;
        if (rest && (!ReadFile(h.get(), bytes.data() + got, rest, &read, nullptr) || read != rest))
            return false;
    }
    const int n =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\xFEFF');
    if (n <= 0 || MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                      text.data() + 1, n) != n)
        return false;
    win::UniqueHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const DWORD total = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    return h && WriteFile(h.get(), text.data(), total, &written, nullptr) && written == total;
}

bool FlushToDisk(const std::wstring& path) {
    win::UniqueHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    return h && FlushFileBuffers(h.get());
}

// Nothing at the path, not even the folder it names: nothing stored to lose.
bool Missing(DWORD err) {
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::optional<std::wstring> Win32ProfileFiles::Unusable(const std::wstring& file) {
    if (SettingsPathTooLong(file)) return win::SystemErrorText(ERROR_FILENAME_EXCED_RANGE);
    const DWORD attrs = GetFileAttributesW(file.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) {
        const DWORD err = GetLastError();
        if (Missing(err)) return std::nullopt;
        return win::SystemErrorText(err);
    }
    if (attrs & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    // Sharing everything, the probe fails only when a holder shares no
    // reading or the permissions forbid it: what keeps the profile functions
    // from reading the file.
    win::UniqueHandle h(CreateFileW(file.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (h) return std::nullopt;
    const DWORD err = GetLastError();
    if (Missing(err)) return std::nullopt;  // gone since the look
    return win::SystemErrorText(err);
}

std::wstring Win32ProfileFiles::ReadValue(const std::wstring& file, const std::wstring& section,
                                          const std::wstring& key) {
    std::vector<wchar_t> buf(kReadBuffer);
    const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buf.data(),
                                             kReadBuffer, file.c_str());
    return std::wstring(buf.data(), n);
}

bool Win32ProfileFiles::WriteValue(const std::wstring& file, const std::wstring& section,
                                   const std::wstring& key, const std::wstring& value) {
    // Written into an ANSI file, such a value would turn into "?" for good.
    // IniWrite writes into its copy, so the file is rewritten in place.
    if (NeedsUnicode(value) && !MakeUnicode(file)) return false;
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
           FALSE;
}

bool Win32ProfileFiles::StartCopy(const std::wstring& file, const std::wstring& copy) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD err = GetLastError();
        if (err != ERROR_FILE_NOT_FOUND) return false;
        return CreateUnicodeIni(copy);
    }
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
    if (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0) return CreateUnicodeIni(copy);
    return CopyFileW(file.c_str(), copy.c_str(), FALSE) != FALSE;
}

bool Win32ProfileFiles::ReplaceWith(const std::wstring& copy, const std::wstring& file) {
    // Let go of anything the profile functions may still hold of the copy.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, copy.c_str());
    return FlushToDisk(copy) &&
           MoveFileExW(copy.c_str(), file.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void Win32ProfileFiles::Remove(const std::wstring& file) {
    const DWORD attrs = GetFileAttributesW(file.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return;
    if (attrs & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
}

}  // namespace dw
