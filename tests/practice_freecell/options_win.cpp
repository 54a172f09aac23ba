#include "options_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "win/handles_win.h"

namespace dw::practice {
namespace {

std::wstring WithoutExtension(const std::wstring& path) {
    const auto dot = path.find_last_of(L'.');
    const auto sep = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (sep != std::wstring::npos && dot < sep)) return path;
    return path.substr(0, dot);
}

std::vector<std::wstring> SplitCommandLine(const std::wstring& line) {
    std::vector<std::wstring> out;
    // CommandLineToArgvW treats its first word as the program name.
    const std::wstring withProgram = L"x " + line;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(withProgram.c_str(), &argc);
    if (!argv) return out;
    for (int i = 1; i < argc; ++i) out.emplace_back(argv[i]);
    LocalFree(argv);
    return out;
}

std::wstring Utf8ToWide(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

bool ReadFileBytes(const std::wstring& path, std::string& out) {
    const win::UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    return true;
}

bool ParseInt(const std::wstring& text, int& out) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    const long v = std::wcstol(text.c_str(), &end, 10);
    if (*end != L'\0') return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

std::wstring ModulePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

std::vector<std::wstring> CollectArguments(const std::wstring& exePath) {
    std::vector<std::wstring> args;
    std::string content;
    if (ReadFileBytes(WithoutExtension(exePath) + L".args", content)) {
        if (content.starts_with("\xEF\xBB\xBF")) content.erase(0, 3);
        for (char& c : content)
            if (c == '\r' || c == '\n') c = ' ';
        args = SplitCommandLine(Utf8ToWide(content));
    }
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv) {
        for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
        LocalFree(argv);
    }
    return args;
}

Options ParseOptions(const std::wstring& exePath, const std::vector<std::wstring>& args) {
    Options o;
    o.logPath = WithoutExtension(exePath) + L".log";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        const bool hasValue = i + 1 < args.size();
        int* number = nullptr;
        if (a == L"--no-window") {
            o.noWindow = true;
            continue;
        } else if (a == L"--minimized") {
            o.minimized = true;
            continue;
        } else if (a == L"--log" && hasValue) {
            o.logPath = args[++i];
            continue;
        } else if (a == L"--times" && hasValue) {
            o.timesPath = args[++i];
            continue;
        } else if (a == L"--win-enters") {
            number = &o.winEnters;
        } else if (a == L"--window-delay-ms") {
            number = &o.windowDelayMs;
        } else if (a == L"--stuck-auto-ms") {
            number = &o.stuckAutoMs;
        } else if (a == L"--select-initial") {
            number = &o.selectInitial;
        }
        if (number && hasValue && ParseInt(args[i + 1], *number)) {
            ++i;
            continue;
        }
        o.errors.push_back(a);
    }
    if (o.winEnters < 1) o.winEnters = 1;
    return o;
}

}  // namespace dw::practice
