#include "record/settings.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>

#include "record/app_error.h"

namespace dw {
namespace {

constexpr wchar_t kGame[] = L"Game";
constexpr wchar_t kScore[] = L"Score";
constexpr wchar_t kShow[] = L"Show";
constexpr wchar_t kHist[] = L"Hist";

std::optional<int> DigitValue(wchar_t c, int base) {
    int d = -1;
    if (c >= L'0' && c <= L'9')
        d = c - L'0';
    else if (c >= L'a' && c <= L'f')
        d = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F')
        d = c - L'A' + 10;
    if (d < 0 || d >= base) return std::nullopt;
    return d;
}

// Digits only, no sign or blank; nullopt when empty, not digits or above limit.
std::optional<std::uint64_t> Magnitude(const std::wstring& digits, int base, std::uint64_t limit) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t v = 0;
    for (wchar_t c : digits) {
        auto d = DigitValue(c, base);
        if (!d) return std::nullopt;
        v = v * base + *d;
        if (v > limit) return std::nullopt;
    }
    return v;
}

std::int32_t ReadInteger(ProfileFiles& files, const std::wstring& file, const wchar_t* section,
                         const std::wstring& key, std::int32_t def) {
    return IniInteger(files.ReadValue(file, section, key), def);
}

std::wstring HistKey(int i) {
    return L"hist" + std::to_wstring(i);
}

// Where the extension of the path's file name starts (its dot); a dot in a
// folder's name is no extension.
std::optional<std::size_t> ExtensionStart(const std::wstring& path) {
    const auto nameStart = path.find_last_of(L"\\/:");
    const auto dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (nameStart != std::wstring::npos && dot < nameStart))
        return std::nullopt;
    return dot;
}

// File names match without regard to ASCII case, as on Windows.
bool SameAsciiText(std::wstring_view a, std::wstring_view b) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](wchar_t x, wchar_t y) { return lower(x) == lower(y); });
}

}  // namespace

std::wstring IniFileNameFor(const std::wstring& exePath) {
    const auto dot = ExtensionStart(exePath);
    return (dot ? exePath.substr(0, *dot) : exePath) + L".Ini";
}

std::wstring IniTempFileNameFor(const std::wstring& iniFileName) {
    const auto dot = ExtensionStart(iniFileName);
    if (!dot || SameAsciiText(std::wstring_view(iniFileName).substr(*dot), L".tmp"))
        return iniFileName + L".tmp";
    return iniFileName.substr(0, *dot) + L".tmp";
}

bool SettingsPathTooLong(const std::wstring& path) {
    std::size_t units = 0;
    for (wchar_t c : path) units += static_cast<std::uint32_t>(c) >> 16 != 0 ? 2 : 1;
    return units > kMaxSettingsPathChars;
}

std::int32_t IniInteger(const std::wstring& text, std::int32_t def) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::int32_t>::max();
    if (text.size() >= 3 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        const auto v = Magnitude(text.substr(2), 16, 0xFFFFFFFFu);
        return v ? static_cast<std::int32_t>(static_cast<std::uint32_t>(*v)) : def;
    }
    const bool negative = !text.empty() && text[0] == L'-';
    const bool sign = negative || (!text.empty() && text[0] == L'+');
    const auto v = Magnitude(text.substr(sign ? 1 : 0), 10, negative ? kMax + 1 : kMax);
    if (!v) return def;
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(*v))
                    : static_cast<std::int32_t>(*v);
}

bool IniBoolean(const std::wstring& text, bool def) {
    return IniInteger(text, def ? 1 : 0) != 0;
}

bool SameStoredFields(const TFCGameRecord& a, const TFCGameRecord& b) {
    return a.GameNo == b.GameNo && a.TryCnt == b.TryCnt && a.won == b.won && a.wins == b.wins &&
           a.lost == b.lost && a.losses == b.losses && a.streak == b.streak && a.stype == b.stype &&
           a.hist == b.hist;
}

void IniRead(ProfileFiles& files, const std::wstring& iniFileName, TFCGameRecord& record,
             bool& renMode) {
    const auto& f = iniFileName;
    record.GameNo = ReadInteger(files, f, kGame, L"GameNo", 1);
    record.WGameNo = ReadInteger(files, f, kGame, L"GameNo", 1);
    record.TryCnt = ReadInteger(files, f, kGame, L"TryCnt", 1);
    renMode = IniBoolean(files.ReadValue(f, kShow, L"RenMode"), false);
    record.won = ReadInteger(files, f, kScore, L"won", 0);
    record.wins = ReadInteger(files, f, kScore, L"wins", 0);
    record.lost = ReadInteger(files, f, kScore, L"lost", 0);
    record.losses = ReadInteger(files, f, kScore, L"losses", 0);
    record.streak = ReadInteger(files, f, kScore, L"streak", 0);
    record.stype = ReadInteger(files, f, kScore, L"stype", 0);
    for (int i = 0; i < TFCGameRecord::HistSize; ++i)
        record.hist[i] = files.ReadValue(f, kHist, HistKey(i));
}

void IniWrite(ProfileFiles& files, const std::wstring& iniFileName, const TFCGameRecord& record,
              bool renMode) {
    const std::wstring temp = IniTempFileNameFor(iniFileName);
    // The copy goes whatever happens; only a kill can leave it, and the next
    // save overwrites it.
    struct TempGuard {
        ProfileFiles& files;
        const std::wstring& path;
        ~TempGuard() { files.Remove(path); }
    } guard{files, temp};
    const auto fail = [&] {
        throw AppError(FormatMessageText(L"%s に書き込めません", iniFileName));
    };

    if (!files.StartCopy(iniFileName, temp)) fail();
    const auto put = [&](const wchar_t* section, const std::wstring& key,
                         const std::wstring& value) {
        if (!files.WriteValue(temp, section, key, value)) fail();
    };
    put(kGame, L"GameNo", std::to_wstring(record.GameNo));
    put(kGame, L"TryCnt", std::to_wstring(record.TryCnt));
    put(kScore, L"won", std::to_wstring(record.won));
    put(kScore, L"wins", std::to_wstring(record.wins));
    put(kScore, L"lost", std::to_wstring(record.lost));
    put(kScore, L"losses", std::to_wstring(record.losses));
    put(kScore, L"streak", std::to_wstring(record.streak));
    put(kScore, L"stype", std::to_wstring(record.stype));
    put(kShow, L"RenMode", renMode ? L"1" : L"0");
    for (int i = 0; i < TFCGameRecord::HistSize; ++i) put(kHist, HistKey(i), record.hist[i]);
    if (!files.ReplaceWith(temp, iniFileName)) fail();
}

}  // namespace dw
