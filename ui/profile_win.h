#pragma once
// The settings file through the Windows profile functions: each value opens
// and closes the file by itself; no handle is kept between calls.
#include <string>

#include "record/profile.h"

namespace dw {

class Win32ProfileFiles final : public ProfileFiles {
public:
    static constexpr unsigned kReadBuffer = 2048;  // 2047 characters and the terminator

    std::wstring ReadValue(const std::wstring& file, const std::wstring& section,
                           const std::wstring& key) override;
    bool WriteValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) override;
    bool StartCopy(const std::wstring& file, const std::wstring& copy) override;
    bool ReplaceWith(const std::wstring& copy, const std::wstring& file) override;
    void Remove(const std::wstring& file) override;
};

}  // namespace dw
