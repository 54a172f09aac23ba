#pragma once
// Files and directories for tests: a temporary directory per test, the
// program installed where Dealwarden looks for FreeCell, paths from the
// build (Unix paths, reached under Wine through drive Z:).
#include <string>
#include <string_view>
#include <vector>

namespace dw::harness {

// UTF-8 text (logs, build paths) as the window system's Unicode.
std::wstring Utf8ToWide(std::string_view s);
// And back, for failure messages and logs.
std::string WideToUtf8(std::wstring_view w);

// "/a/b" -> "Z:\a\b"; a path that already has a drive is returned as is.
std::wstring WindowsPath(std::string_view unixOrWindowsPath);
std::wstring DirectoryOf(const std::wstring& path);
std::wstring ThisExeDirectory();
bool FileExists(const std::wstring& path);
// Creates path and its missing parents; returns the ones it created, outermost first.
std::vector<std::wstring> CreateDirectories(const std::wstring& path);
void RemoveTree(const std::wstring& path);
bool WriteUtf8File(const std::wstring& path, const std::wstring& text);
// A path as the file functions take it past MAX_PATH ("\\?\" first).
std::wstring LongPath(const std::wstring& path);
// A folder below parent, made of as many nested folders as it takes, such
// that the folder, a backslash and name make a path of exactly length characters.
std::wstring FolderForFileOfLength(const std::wstring& parent, const std::wstring& name,
                                   std::size_t length);
// Creates path and its missing parents, however long it is.
void CreateLongDirectories(const std::wstring& path);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
// The names in a directory (not "." and ".."), sorted.
std::vector<std::wstring> DirectoryNames(const std::wstring& dir);
// Text that is no INI line, as a settings file may collect before its
// sections: lines of random letters, about bytes long as UTF-16 (without a
// byte order mark), the same for the same seed.
std::wstring LinesOfLetters(std::size_t bytes, unsigned seed);

// A fresh, empty directory under the temp directory, removed with everything
// in it at destruction.
class TempDir {
public:
    explicit TempDir(std::wstring_view tag = L"test");
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    const std::wstring& Path() const { return path_; }
    std::wstring File(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

private:
    std::wstring path_;
};

// The drive root as Dealwarden computes it (first three characters of the
// Windows directory) followed by FreeCell's install path.
std::wstring DriveRootInstallPath();

// A copy of a program installed as FREECELL.EXE, removed at destruction
// together with the directories the install created. An optional args line
// is written beside it ("FREECELL.args"), which the practice FreeCell reads
// when started without arguments.
class InstalledFreeCell {
public:
    // At dir\FREECELL.EXE.
    static InstalledFreeCell AtDirectory(const std::wstring& dir, const std::wstring& sourceExe,
                                         const std::wstring& argsLine = L"");
    // At DriveRootInstallPath().
    static InstalledFreeCell AtDriveRoot(const std::wstring& sourceExe,
                                         const std::wstring& argsLine = L"");
    InstalledFreeCell(InstalledFreeCell&& o) noexcept;
    InstalledFreeCell& operator=(InstalledFreeCell&&) = delete;
    InstalledFreeCell(const InstalledFreeCell&) = delete;
    ~InstalledFreeCell();

    const std::wstring& ExePath() const { return exe_; }
    // Where the practice FreeCell logs when not told otherwise.
    std::wstring DefaultLogPath() const;
    // Removes it now (retrying while a process still holds the file).
    void Remove();

private:
    InstalledFreeCell(const std::wstring& exePath, const std::wstring& sourceExe,
                      const std::wstring& argsLine);
    std::wstring exe_;
    std::vector<std::wstring> createdDirs_;  // outermost first
};

}  // namespace dw::harness
