#pragma once
// INI files as the Windows profile functions lay them out, for builds without
// those functions: a file written here reads the same through them and back.
//
// Layout: "[Section]" and "key=value" lines ending in CRLF, no blank lines. A
// file starting with the UTF-16LE byte order mark FF FE is UTF-16LE; any other
// file is ANSI and keeps its bytes: ASCII is read as ASCII, and every other
// byte (a Shift-JIS character's bytes, say) becomes a stand-in character that
// is written back as the same byte, so text from an ANSI file survives a read
// and a write unchanged, though it does not read as Japanese. A character an
// ANSI file cannot hold is written as "?", as a code page without it would.
// A new file written here is UTF-16LE.
//
// Reading follows the profile functions: blanks around lines, names and values
// are ignored, a value in matching single or double quotes loses them, names
// match without regard to ASCII case, only the first section of a name is
// searched, the first key of a name wins, and at most 2047 UTF-16 units of a
// value are returned.
#include <optional>
#include <string>

#include "record/profile.h"

namespace dw {

class PortableProfileFiles final : public ProfileFiles {
public:
    static constexpr std::size_t kMaxValue = 2047;
    // Bytes 0x80..0xFF of an ANSI file stand as U+F780..U+F7FF (private use).
    static constexpr char32_t kAnsiByteBase = 0xF700;

    // The length rule gives "パスが長すぎます", a file that cannot be opened
    // for reading the system's text for its errno.
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
