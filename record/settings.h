#pragma once
// The settings file: the stored part of the game record and the RenMode flag,
// kept between runs in an INI file beside the executable.
#include <cstddef>
#include <cstdint>
#include <string>

#include "record/game_record.h"
#include "record/profile.h"

namespace dw {

// The executable's path with its extension replaced by ".Ini" (appended when
// the file name has none): D:\Games\tool.exe -> D:\Games\tool.Ini.
std::wstring IniFileNameFor(const std::wstring& exePath);
// The copy IniWrite fills before it replaces the settings file: the extension
// replaced by ".tmp" (D:\Games\tool.Ini -> D:\Games\tool.tmp), so a settings
// path the system accepts gives a copy name it accepts too. Appended when the
// name has no extension, and when it is ".tmp" already, so that the copy is
// never the file itself.
std::wstring IniTempFileNameFor(const std::wstring& iniFileName);

// The longest path the system accepts, in UTF-16 units: MAX_PATH less the
// terminator. A longer settings path can neither be read nor saved.
inline constexpr std::size_t kMaxSettingsPathChars = 259;
// Whether path, counted in UTF-16 units as the system counts it (a character
// beyond U+FFFF is two), is longer than kMaxSettingsPathChars.
bool SettingsPathTooLong(const std::wstring& path);

// A stored integer: "0x"/"0X" and at least one more character is hexadecimal
// (a 32-bit pattern, so 0xFFFFFFFF is -1), anything else an optionally signed
// decimal within 32 bits. Any other text, empty included, gives def.
std::int32_t IniInteger(const std::wstring& text, std::int32_t def);
// A stored Boolean: read as an integer, non-zero is true.
bool IniBoolean(const std::wstring& text, bool def);

// Whether two records hold the same values in the settings file (WGameNo,
// kachi and make are not stored): a change is a booking worth saving.
bool SameStoredFields(const TFCGameRecord& a, const TFCGameRecord& b);

// Loads GameNo (also into WGameNo), TryCnt, RenMode, the six Score values and
// the 100 history lines; what is missing or unreadable gets its default.
// kachi and make are left as they are.
void IniRead(ProfileFiles& files, const std::wstring& iniFileName, TFCGameRecord& record,
             bool& renMode);
// Saves the stored fields and RenMode, all 100 history keys included. The
// values go into a copy beside the file which then replaces it, so the file on
// disk always holds either the previous or the new record. A value that cannot
// be written raises AppError "<path> に書き込めません" and leaves the file as it was.
void IniWrite(ProfileFiles& files, const std::wstring& iniFileName, const TFCGameRecord& record,
              bool renMode);

}  // namespace dw
