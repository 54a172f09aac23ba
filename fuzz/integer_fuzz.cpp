// libFuzzer target over the rules that turn a stored text into an integer or
// a Boolean, checked against an independent reading of the same rules.
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "record/settings.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

// --- the integer rules against an independent reading -----------------------

// What IniInteger must give: from_chars does the digit work, the range and
// the "0x" and sign rules are applied here.
std::int32_t ExpectedInteger(const std::wstring& text, std::int32_t def) {
    std::string s;
    for (wchar_t c : text) {
        if (c < 0x20 || c >= 0x7F) return def;  // only printable ASCII can be a number
        s.push_back(static_cast<char>(c));
    }
    const char* b = s.data();
    const char* e = s.data() + s.size();
    if (s.size() >= 3 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        if (!std::isxdigit(static_cast<unsigned char>(s[2]))) return def;
        std::uint64_t v = 0;
        const auto r = std::from_chars(b + 2, e, v, 16);
        if (r.ec != std::errc() || r.ptr != e || v > 0xFFFFFFFFu) return def;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    }
    bool negative = false;
    if (b != e && (*b == '+' || *b == '-')) negative = *b++ == '-';
    if (b == e || !std::isdigit(static_cast<unsigned char>(*b))) return def;
    std::uint64_t v = 0;
    const auto r = std::from_chars(b, e, v, 10);
    if (r.ec != std::errc() || r.ptr != e) return def;
    if (v > (negative ? 2147483648u : 2147483647u)) return def;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(v)
                                              : static_cast<std::int64_t>(v));
}

void CheckIntegerRules(const std::uint8_t* data, std::size_t size) {
    // The bytes both as narrow characters and as UTF-16LE units.
    std::wstring narrow(data, data + size), wide;
    for (std::size_t i = 0; i + 1 < size; i += 2) wide.push_back(data[i] | data[i + 1] << 8);
    for (const std::wstring* text : {&narrow, &wide}) {
        for (std::int32_t def : {0, 1, -7}) {
            const std::int32_t got = dw::IniInteger(*text, def);
            Check(got == ExpectedInteger(*text, def), "IniInteger differs from the rules");
            Check(dw::IniBoolean(*text, def != 0) == (dw::IniInteger(*text, def != 0) != 0),
                  "IniBoolean is not IniInteger != 0");
        }
        // Whatever it gave is written as decimal text, which must read back as itself.
        const std::int32_t v = dw::IniInteger(*text, 0);
        Check(dw::IniInteger(std::to_wstring(v), 1) == v, "a written integer does not read back");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckIntegerRules(data, size);
    return 0;
}
