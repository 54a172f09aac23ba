#include "freecell/process_win.h"

#include <utility>
#include <vector>

#include "win/error_box_win.h"
#include "win/system_error_win.h"

namespace dw {
namespace {

// Owns the new process's handle; the process itself lives on without us.
class Win32StartedProcess final : public IStartedProcess {
public:
    explicit Win32StartedProcess(win::UniqueHandle process) : process_(std::move(process)) {}

    IdleWait WaitForInputIdle(unsigned timeoutMs) override {
        switch (::WaitForInputIdle(process_.get(), timeoutMs)) {
            case 0:
                return IdleWait::Idle;
            case WAIT_TIMEOUT:
                return IdleWait::Timeout;
            default:
                return IdleWait::Failed;
        }
    }

    bool HasExited() override { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }

private:
    win::UniqueHandle process_;
};

}  // namespace

unsigned Win32ProcessSystem::WindowsDirectoryLength() {
    return GetWindowsDirectoryW(nullptr, 0);
}

std::wstring Win32ProcessSystem::WindowsDirectory(unsigned length) {
    std::vector<wchar_t> buf(length + 1, L'\0');
    const UINT copied = GetWindowsDirectoryW(buf.data(), static_cast<UINT>(buf.size()));
    // A larger result is the length it would need: the path was not copied.
    return copied < buf.size() ? std::wstring(buf.data(), copied) : std::wstring();
}

bool Win32ProcessSystem::FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

StartedProcess Win32ProcessSystem::StartProcess(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    // CreateProcessW may write into its command line.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                        nullptr, nullptr, &startup, &info)) {
        std::wstring reason = win::SystemErrorText(GetLastError());
        // Some reasons name the file as "%1" (a program that is not one, say).
        if (const auto at = reason.find(L"%1"); at != std::wstring::npos) {
            reason.replace(at, 2, commandLine);
        }
        return {nullptr, reason};
    }
    win::UniqueHandle process(info.hProcess);
    win::UniqueHandle thread(info.hThread);
    return {std::make_unique<Win32StartedProcess>(std::move(process)), {}};
}

void Win32ProcessSystem::Sleep(unsigned ms) {
    ::Sleep(ms);
}

std::uint64_t Win32ProcessSystem::NowMs() {
    return GetTickCount64();
}

WindowHandle Win32ProcessSystem::FindWindowByClass(std::wstring_view cls) {
    return win::FromHwnd(FindWindowW(std::wstring(cls).c_str(), nullptr));
}

int Win32ProcessSystem::ShowMessage(const std::wstring& text, const std::wstring& title,
                                    unsigned type) {
    return win::ShowBox(text, title.c_str(), type);
}

}  // namespace dw
