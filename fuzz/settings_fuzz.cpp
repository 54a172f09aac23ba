// libFuzzer target over the settings file Dealwarden reads at start: any bytes
// at all, read through the portable profile files.
//
// Besides "no crash, no sanitizer report" it checks that nothing of a record
// read from a damaged file is lost by the next save: the record saved into
// that very file reads back the same.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "record/app_error.h"
#include "record/portable_profile.h"
#include "record/settings.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

void Check(bool ok, const char* what) {
    if (!ok) Fail(what);
}

// A directory of this process's own, on a memory file system when there is
// one: each save syncs the file to disk.
const fs::path& WorkDir() {
    static const fs::path dir = [] {
        const fs::path base =
            fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path d = base / ("dw-settings-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(d);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(WorkDir(), ec);
        });
        return d;
    }();
    return dir;
}

// --- the settings file: read, save into the same file, read again ----------

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r' ||
           c == 0x1A;
}

// A text the reading rules give back unchanged: no surrounding blanks (dropped)
// and not enclosed in matching quotes (taken off).
bool KeptAsItIs(const std::wstring& v) {
    if (v.empty()) return true;
    if (IsBlank(v.front()) || IsBlank(v.back())) return false;
    return !(v.size() >= 2 && (v[0] == L'"' || v[0] == L'\'') && v.back() == v[0]);
}

void CheckSettingsFile(const std::uint8_t* data, std::size_t size) {
    const fs::path ini = WorkDir() / "Dealwarden.Ini";
    {
        std::ofstream out(ini, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    dw::PortableProfileFiles files;
    const std::wstring name = ini.wstring();

    dw::TFCGameRecord first;
    bool firstRen = false;
    dw::IniRead(files, name, first, firstRen);
    Check(first.WGameNo == first.GameNo, "WGameNo differs from GameNo after a read");
    for (const auto& h : first.hist) {
        Check(h.size() <= dw::PortableProfileFiles::kMaxValue, "a value longer than the limit");
        Check(h.find_first_of(L"\r\n") == std::wstring::npos, "a value holds a line break");
    }

    // The file is a writable regular file: the save must succeed, whatever it holds.
    try {
        dw::IniWrite(files, name, first, firstRen);
    } catch (const dw::AppError&) {
        Fail("IniWrite failed on a writable file");
    }
    Check(!fs::exists(dw::IniTempFileNameFor(name)), "the save left its copy behind");

    dw::TFCGameRecord second;
    bool secondRen = !firstRen;
    dw::IniRead(files, name, second, secondRen);
    Check(secondRen == firstRen, "RenMode changed across a save");
    Check(second.GameNo == first.GameNo && second.TryCnt == first.TryCnt &&
              second.won == first.won && second.wins == first.wins && second.lost == first.lost &&
              second.losses == first.losses && second.streak == first.streak &&
              second.stype == first.stype,
          "a stored number changed across a save");
    for (int i = 0; i < dw::TFCGameRecord::HistSize; ++i)
        if (KeptAsItIs(first.hist[i]))
            Check(second.hist[i] == first.hist[i], "a history line changed across a save");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckSettingsFile(data, size);
    return 0;
}
