#include <windows.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <stdexcept>
#include <thread>

#include "freecell/contract.h"
#include "harness/files_win.h"
#include "harness/windows_win.h"
#include "win/handles_win.h"

namespace dw::harness {
namespace {

bool IsDirectory(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Deletes a file, waiting a while for a process that still holds it to end.
bool DeleteWithRetry(const std::wstring& path) {
    return WaitUntil(
        [&] { return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; },
        std::chrono::milliseconds(5000));
}

}  // namespace

std::wstring Utf8ToWide(std::string_view s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string WideToUtf8(std::wstring_view w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::wstring WindowsPath(std::string_view path) {
    std::wstring w = Utf8ToWide(path);
    if (w.size() >= 2 && w[1] == L':') return w;
    for (auto& c : w)
        if (c == L'/') c = L'\\';
    return L"Z:" + w;
}

std::wstring DirectoryOf(const std::wstring& path) {
    const auto sep = path.find_last_of(L"\\/");
    return sep == std::wstring::npos ? std::wstring() : path.substr(0, sep);
}

std::wstring ThisExeDirectory() {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 4);
    return DirectoryOf(std::wstring(buf, n));
}

bool FileExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> CreateDirectories(const std::wstring& path) {
    std::vector<std::wstring> created;
    if (path.empty() || IsDirectory(path)) return created;
    created = CreateDirectories(DirectoryOf(path));
    if (CreateDirectoryW(path.c_str(), nullptr)) created.push_back(path);
    return created;
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = path + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteWithRetry(full);
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

bool WriteUtf8File(const std::wstring& path, const std::wstring& text) {
    win::UniqueHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    const std::string bytes = WideToUtf8(text);
    DWORD written = 0;
    return WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

TempDir::TempDir(std::wstring_view tag) {
    static std::atomic<int> counter{0};
    wchar_t base[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, base);
    std::wstring root(base, n);
    if (!root.empty() && root.back() == L'\\') root.pop_back();
    for (;;) {
        path_ = root + L"\\dw-" + std::wstring(tag) + L"-" +
                std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary directory");
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

std::wstring DriveRootInstallPath() {
    const UINT need = GetWindowsDirectoryW(nullptr, 0);
    std::wstring dir(need, L'\0');
    dir.resize(GetWindowsDirectoryW(dir.data(), need));
    return dir.substr(0, 3) + std::wstring(freecell::kInstallPath);
}

InstalledFreeCell InstalledFreeCell::AtDirectory(const std::wstring& dir,
                                                 const std::wstring& sourceExe,
                                                 const std::wstring& argsLine) {
    return InstalledFreeCell(dir + L"\\" + std::wstring(freecell::kExeName), sourceExe, argsLine);
}

InstalledFreeCell InstalledFreeCell::AtDriveRoot(const std::wstring& sourceExe,
                                                 const std::wstring& argsLine) {
    return InstalledFreeCell(DriveRootInstallPath(), sourceExe, argsLine);
}

InstalledFreeCell::InstalledFreeCell(const std::wstring& exePath, const std::wstring& sourceExe,
                                     const std::wstring& argsLine)
    : exe_(exePath), createdDirs_(CreateDirectories(DirectoryOf(exePath))) {
    if (!CopyFileW(sourceExe.c_str(), exe_.c_str(), FALSE))
        throw std::runtime_error("cannot install FREECELL.EXE, error " +
                                 std::to_string(GetLastError()));
    const std::wstring args = exe_.substr(0, exe_.size() - 4) + L".args";
    if (!argsLine.empty() && !WriteUtf8File(args, argsLine))
        throw std::runtime_error("cannot write FREECELL.args");
}

InstalledFreeCell::InstalledFreeCell(InstalledFreeCell&& o) noexcept
    : exe_(std::move(o.exe_)), createdDirs_(std::move(o.createdDirs_)) {
    o.exe_.clear();
    o.createdDirs_.clear();
}

InstalledFreeCell::~InstalledFreeCell() {
    Remove();
}

std::wstring InstalledFreeCell::DefaultLogPath() const {
    return exe_.substr(0, exe_.size() - 4) + L".log";
}

void InstalledFreeCell::Remove() {
    if (exe_.empty()) return;
    const std::wstring stem = exe_.substr(0, exe_.size() - 4);
    DeleteWithRetry(exe_);
    DeleteFileW((stem + L".args").c_str());
    DeleteFileW((stem + L".log").c_str());
    for (auto it = createdDirs_.rbegin(); it != createdDirs_.rend(); ++it)
        RemoveDirectoryW(it->c_str());
    exe_.clear();
    createdDirs_.clear();
}

}  // namespace dw::harness

namespace dw::harness {

std::wstring LongPath(const std::wstring& path) {
    return path.rfind(L"\\\\?\\", 0) == 0 ? path : L"\\\\?\\" + path;
}

std::wstring FolderForFileOfLength(const std::wstring& parent, const std::wstring& name,
                                   std::size_t length) {
    // Each nested folder costs a backslash and its name; none may be left
    // with a name of nothing, so a step never leaves exactly one to go.
    constexpr std::size_t kLongestName = 100;
    std::wstring folder = parent;
    for (std::size_t total; (total = folder.size() + 1 + name.size()) < length;) {
        const std::size_t left = length - total;
        if (left == 1) throw std::runtime_error("a path one character longer cannot be made");
        std::size_t part = left - 1;
        if (part > kLongestName)
            part = left - 1 - kLongestName == 1 ? kLongestName - 1 : kLongestName;
        folder += L"\\" + std::wstring(part, L'd');
    }
    return folder;
}

void CreateLongDirectories(const std::wstring& path) {
    for (std::size_t at = path.find(L'\\', 3);; at = path.find(L'\\', at + 1)) {
        CreateDirectoryW(LongPath(path.substr(0, at)).c_str(), nullptr);
        if (at == std::wstring::npos) break;
    }
}

std::string ReadBytes(const std::wstring& path) {
    win::UniqueHandle f(CreateFileW(LongPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return {};
    std::string bytes;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(f.get(), buf, sizeof buf, &n, nullptr) && n) bytes.append(buf, n);
    return bytes;
}

std::vector<std::wstring> DirectoryNames(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring LinesOfLetters(std::size_t bytes, unsigned seed) {
    std::mt19937 rng(seed);
    std::wstring text;
    const std::size_t chars = bytes / sizeof(wchar_t);
    text.reserve(chars + 100);
    while (text.size() < chars) {
        for (int i = 0; i < 98; ++i) text.push_back(static_cast<wchar_t>(L'a' + rng() % 26));
        text += L"\r\n";
    }
    return text;
}

}  // namespace dw::harness
