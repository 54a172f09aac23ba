#include "record/portable_profile.h"

#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "record/settings.h"

#if defined(__unix__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace dw {
namespace {

namespace fs = std::filesystem;

constexpr char kBom[] = "\xFF\xFE";

// --- wchar_t (UTF-16 on Windows, UTF-32 elsewhere) <-> UTF-16 ---------------

std::u16string ToUtf16(const std::wstring& s) {
    std::u16string out;
    out.reserve(s.size());
    for (wchar_t wc : s) {
        const auto c = static_cast<char32_t>(wc);
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else if (c <= 0x10FFFF) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(u'\uFFFD');
        }
    }
    return out;
}

std::wstring FromUtf16(const std::u16string& s) {
    std::wstring out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if constexpr (sizeof(wchar_t) == 4) {
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
                s[i + 1] < 0xE000) {
                out.push_back(
                    static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00)));
                ++i;
                continue;
            }
        }
        // A lone surrogate is kept as it is, so it is written back unchanged.
        out.push_back(static_cast<wchar_t>(c));
    }
    return out;
}

// --- the file as the profile functions see it --------------------------------

struct Entry {
    std::u16string name;
    std::optional<std::u16string> value;  // none: a line without "=" (a comment, say)
};

struct Section {
    std::u16string name;  // empty: the lines before the first section
    std::vector<Entry> entries;
};

struct Document {
    bool unicode = true;
    std::vector<Section> sections{Section{}};
};

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' ||
           c == 0x1A;
}

std::u16string Trim(std::u16string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return std::u16string(s.substr(b, e - b));
}

char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c;
}

bool SameName(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

std::u16string DecodeText(const std::string& bytes, bool& unicode) {
    std::u16string text;
    unicode = bytes.size() >= 2 && bytes.compare(0, 2, kBom) == 0;
    if (unicode) {
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
    } else {
        for (char ch : bytes) {
            const auto b = static_cast<unsigned char>(ch);
            text.push_back(b < 0x80
                               ? char16_t{b}
                               : static_cast<char16_t>(PortableProfileFiles::kAnsiByteBase + b));
        }
    }
    return text;
}

std::string EncodeText(const std::u16string& text, bool unicode) {
    std::string bytes;
    if (unicode) {
        bytes = kBom;
        for (char16_t c : text) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
    } else {
        for (char16_t c : text) {
            if (c < 0x80)
                bytes.push_back(static_cast<char>(c));
            else if (c >= PortableProfileFiles::kAnsiByteBase + 0x80 &&
                     c <= PortableProfileFiles::kAnsiByteBase + 0xFF)
                bytes.push_back(static_cast<char>(c - PortableProfileFiles::kAnsiByteBase));
            else
                bytes.push_back('?');
        }
    }
    return bytes;
}

bool EncodesInAnsi(const std::u16string& text) {
    for (char16_t c : text)
        if (c >= 0x80 && !(c >= PortableProfileFiles::kAnsiByteBase + 0x80 &&
                           c <= PortableProfileFiles::kAnsiByteBase + 0xFF))
            return false;
    return true;
}

Document Parse(const std::string& bytes) {
    Document doc;
    const std::u16string text = DecodeText(bytes, doc.unicode);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        const std::u16string line = Trim(std::u16string_view(text).substr(pos, end - pos));
        pos = end;
        while (pos < text.size() && (text[pos] == u'\r' || text[pos] == u'\n')) ++pos;
        if (line.empty()) continue;
        if (line[0] == u'[') {
            const auto close = line.rfind(u']');
            if (close != std::u16string::npos && close > 0) {
                doc.sections.push_back(Section{line.substr(1, close - 1), {}});
                continue;
            }
        }
        Entry entry;
        if (const auto eq = line.find(u'='); eq != std::u16string::npos) {
            entry.name = Trim(std::u16string_view(line).substr(0, eq));
            entry.value = Trim(std::u16string_view(line).substr(eq + 1));
        } else {
            entry.name = line;
        }
        doc.sections.back().entries.push_back(std::move(entry));
    }
    return doc;
}

std::u16string Serialize(const Document& doc) {
    std::u16string text;
    for (const auto& section : doc.sections) {
        if (!section.name.empty()) text += u"[" + section.name + u"]\r\n";
        for (const auto& e : section.entries) {
            text += e.name;
            if (e.value) text += u"=" + *e.value;
            text += u"\r\n";
        }
    }
    return text;
}

Section* FindSection(Document& doc, const std::u16string& name) {
    for (auto& s : doc.sections)
        if (SameName(s.name, name)) return &s;
    return nullptr;
}

Entry* FindEntry(Section& section, const std::u16string& name) {
    for (auto& e : section.entries)
        if (SameName(e.name, name)) return &e;
    return nullptr;
}

// --- files ------------------------------------------------------------------

// Natively a wide path would go through the C locale, which has no
// characters beyond ASCII; as UTF-32 it becomes UTF-8 whatever the locale.
fs::path PathOf(const std::wstring& file) {
    if constexpr (sizeof(wchar_t) == 4)
        return fs::path(std::u32string(file.begin(), file.end()));
    else
        return fs::path(file);
}

bool IsRegularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool Exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

std::optional<std::string> ReadBytes(const fs::path& p) {
    if (!IsRegularFile(p)) return std::nullopt;
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool WriteBytes(const fs::path& p, const std::string& bytes) {
    if (Exists(p) && !IsRegularFile(p)) return false;
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

// Data (and, for a directory, its entries) on disk before going on; a power
// cut after the replace must not find the new name pointing at lost data.
bool SyncToDisk([[maybe_unused]] const fs::path& p) {
#if defined(__unix__)
    const int fd = ::open(p.c_str(), O_RDONLY);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
#else
    return true;
#endif
}

// The read-only mark protects the file from this program too, as the
// read-only attribute does on Windows, even for a user who could override it.
bool MarkedReadOnly(const fs::path& p) {
    std::error_code ec;
    const auto perms = fs::status(p, ec).permissions();
    return !ec && (perms & fs::perms::owner_write) == fs::perms::none;
}

// A system message, in the encoding of the current locale as strerror gives
// it; a byte that does not decode stands for itself.
std::wstring Widen(const std::string& text) {
    std::wstring out;
    std::mbstate_t state{};
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        wchar_t wc = 0;
        const std::size_t n = std::mbrtowc(&wc, p, static_cast<std::size_t>(end - p), &state);
        if (n == 0 || n > static_cast<std::size_t>(end - p)) {
            out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p++)));
            state = std::mbstate_t{};
            continue;
        }
        out.push_back(wc);
        p += n;
    }
    return out;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// errno of opening p for reading, 0 when it opens.
int OpenForReadingError(const fs::path& p) {
    errno = 0;
#if defined(_WIN32)
    std::unique_ptr<std::FILE, FileCloser> f(_wfopen(p.c_str(), L"rb"));
#else
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(p.c_str(), "rb"));
#endif
    if (f) return 0;
    return errno != 0 ? errno : EIO;
}

}  // namespace

std::optional<std::wstring> PortableProfileFiles::Unusable(const std::wstring& file) {
    if (SettingsPathTooLong(file)) return L"パスが長すぎます";
    const fs::path path = PathOf(file);
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    // Nothing there (no file, or no folder on the way): nothing stored to lose.
    if (st.type() == fs::file_type::not_found) return std::nullopt;
    if (ec) return Widen(ec.message());
    // Only a regular file holds a record; anything else reads as none and
    // fails the saves until it is gone, as a directory does.
    if (st.type() != fs::file_type::regular) return std::nullopt;
    if (const int err = OpenForReadingError(path))
        return Widen(std::generic_category().message(err));
    return std::nullopt;
}

std::wstring PortableProfileFiles::ReadValue(const std::wstring& file, const std::wstring& section,
                                             const std::wstring& key) {
    const auto bytes = ReadBytes(PathOf(file));
    if (!bytes) return {};
    Document doc = Parse(*bytes);
    Section* s = FindSection(doc, Trim(ToUtf16(section)));
    Entry* e = s ? FindEntry(*s, Trim(ToUtf16(key))) : nullptr;
    if (!e || !e->value) return {};
    std::u16string value = *e->value;
    if (value.size() >= 2 && (value[0] == u'"' || value[0] == u'\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    if (value.size() > kMaxValue) value.resize(kMaxValue);
    return FromUtf16(value);
}

bool PortableProfileFiles::WriteValue(const std::wstring& file, const std::wstring& section,
                                      const std::wstring& key, const std::wstring& value) {
    const fs::path path = PathOf(file);
    Document doc;
    if (Exists(path)) {
        const auto bytes = ReadBytes(path);
        if (!bytes) return false;
        doc = Parse(*bytes);
    }
    const std::u16string sectionName = Trim(ToUtf16(section));
    const std::u16string keyName = Trim(ToUtf16(key));
    Section* s = FindSection(doc, sectionName);
    if (!s) s = &doc.sections.emplace_back(Section{sectionName, {}});
    Entry* e = FindEntry(*s, keyName);
    if (!e) e = &s->entries.emplace_back(Entry{keyName, {}});
    // Only leading blanks go on writing; trailing ones are dropped on reading.
    std::u16string v = ToUtf16(value);
    std::size_t lead = 0;
    while (lead < v.size() && IsBlank(v[lead])) ++lead;
    e->value = v.substr(lead);
    // A character an ANSI file cannot hold would be saved as "?" for good:
    // such a file becomes UTF-16LE first, as the Windows files do.
    if (!doc.unicode && !EncodesInAnsi(*e->value)) doc.unicode = true;
    return WriteBytes(path, EncodeText(Serialize(doc), doc.unicode));
}

bool PortableProfileFiles::StartCopy(const std::wstring& file, const std::wstring& copy) {
    const fs::path from = PathOf(file), to = PathOf(copy);
    std::error_code ec;
    const bool exists = Exists(from);
    if (exists && (!IsRegularFile(from) || MarkedReadOnly(from))) return false;
    if (!exists || fs::file_size(from, ec) == 0) return !ec && WriteBytes(to, kBom);
    if (Exists(to) && !IsRegularFile(to)) return false;
    return fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec) && !ec;
}

bool PortableProfileFiles::ReplaceWith(const std::wstring& copy, const std::wstring& file) {
    const fs::path from = PathOf(copy), to = PathOf(file);
    if (!SyncToDisk(from)) return false;
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) return false;
    const fs::path dir = to.has_parent_path() ? to.parent_path() : fs::path(".");
    SyncToDisk(dir);  // the rename itself has happened; a failure here changes nothing
    return true;
}

void PortableProfileFiles::Remove(const std::wstring& file) {
    const fs::path path = PathOf(file);
    if (!Exists(path) || fs::is_directory(fs::symlink_status(path))) return;
    std::error_code ec;
    fs::remove(path, ec);
}

}  // namespace dw
