#pragma once
// The settings file through the Windows profile functions: each value opens
// and closes the file by itself; no handle is kept between calls.
#include <optional>
#include <string>

#include "record/profile.h"

namespace dw {

class Win32ProfileFiles final : public ProfileFiles {
public:
    static constexpr unsigned kReadBuffer = 2048;  // 2047 characters and the terminator

    // The reasons are the system's texts for the errors; the length rule's is
    // that of ERROR_FILENAME_EXCED_RANGE.
    std::optional<std::wstring> Unusable(const std::wstring& file) override;
    std::wstring ReadValue(const std::wstring& file, const std::wstring& section,
                           const std::wstring& key) override;
    bool WriteValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) override;
    bool StartCopy(const std::wstring& file, const std::wstring& copy) override;
    bool ReplaceWith(const std::wstring& copy, const std::wstring& file) override;
    void Remove(const std::wstring& file) override;
};

}  // namespace dw
