#include "ui/profile_win.h"

#include <windows.h>

#include <vector>

#include "freecell/win32_raii_win.h"

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

bool FlushToDisk(const std::wstring& path) {
    win::UniqueHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    return h && FlushFileBuffers(h.get());
}

}  // namespace

std::wstring Win32ProfileFiles::ReadValue(const std::wstring& file, const std::wstring& section,
                                          const std::wstring& key) {
    std::vector<wchar_t> buf(kReadBuffer);
    const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buf.data(),
                                             kReadBuffer, file.c_str());
    return std::wstring(buf.data(), n);
}

bool Win32ProfileFiles::WriteValue(const std::wstring& file, const std::wstring& section,
                                   const std::wstring& key, const std::wstring& value) {
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
