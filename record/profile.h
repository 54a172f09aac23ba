#pragma once
// Where the settings file's values live: INI values read and written one at a
// time by file path (no file stays open between calls), plus the three file
// steps a save needs to replace the file in one piece.
#include <optional>
#include <string>

namespace dw {

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;

    // Why file cannot serve as the settings file at all, as a short text for
    // the player; nothing when it can. Asked once, before the settings are
    // read: a file that exists but cannot be read would read as a fresh record
    // and the first save would put that in place of the stored one, and a path
    // longer than kMaxSettingsPathChars can be neither read nor saved. A
    // missing file can serve (the first save creates it), and so can a
    // directory in its place (saves fail until it is gone; nothing is lost).
    virtual std::optional<std::wstring> Unusable(const std::wstring& file) = 0;

    // The value of section/key in file, with matching quotes and surrounding
    // blanks removed; empty when the file, the section or the key is missing.
    virtual std::wstring ReadValue(const std::wstring& file, const std::wstring& section,
                                   const std::wstring& key) = 0;
    // Sets section/key in file, creating what is missing. false when it could not.
    virtual bool WriteValue(const std::wstring& file, const std::wstring& section,
                            const std::wstring& key, const std::wstring& value) = 0;

    // Makes copy hold exactly what file holds; when file is missing or empty,
    // copy becomes an empty Unicode INI file (only the UTF-16LE byte order
    // mark), so that the values written into it keep every character. An
    // existing copy is overwritten. false when file is not a writable regular
    // file or copy cannot be made.
    virtual bool StartCopy(const std::wstring& file, const std::wstring& copy) = 0;
    // Puts copy in file's place in one step, on disk before it returns.
    virtual bool ReplaceWith(const std::wstring& copy, const std::wstring& file) = 0;
    // Deletes file if it is a file (never a directory); silent when it cannot.
    virtual void Remove(const std::wstring& file) = 0;
};

}  // namespace dw
