#include "harness/process_win.h"

#include <stdexcept>

namespace dw::harness {

std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    int backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

Process& Process::operator=(Process&& o) noexcept {
    if (this != &o) {
        Kill();
        handle_ = std::move(o.handle_);
        pid_ = std::exchange(o.pid_, 0);
    }
    return *this;
}

Process::~Process() {
    Kill();
}

Process Process::Start(const std::wstring& exe, const std::vector<std::wstring>& args,
                       const std::wstring& workDir) {
    std::wstring cmd = QuoteArgument(exe);
    for (const auto& a : args) cmd += L" " + QuoteArgument(a);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi)) {
        throw std::runtime_error("CreateProcessW failed, error " + std::to_string(GetLastError()));
    }
    CloseHandle(pi.hThread);
    Process p;
    p.handle_ = win::UniqueHandle(pi.hProcess);
    p.pid_ = pi.dwProcessId;
    return p;
}

Process Process::Attach(DWORD pid) {
    Process p;
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!h) return p;
    p.handle_ = win::UniqueHandle(h);
    p.pid_ = pid;
    return p;
}

bool Process::Running() const {
    return handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(milliseconds timeout) const {
    return !handle_ ||
           WaitForSingleObject(handle_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (handle_) GetExitCodeProcess(handle_.get(), &code);
    return code;
}

bool Process::WaitForInputIdle(milliseconds timeout) const {
    return handle_ && ::WaitForInputIdle(handle_.get(), static_cast<DWORD>(timeout.count())) == 0;
}

void Process::Kill() {
    if (!handle_) return;
    if (Running()) {
        TerminateProcess(handle_.get(), 1);
        WaitForSingleObject(handle_.get(), 10000);
    }
    handle_.reset();
    pid_ = 0;
}

int KillWindowOwners(const WindowMatch& m) {
    int killed = 0;
    for (HWND w : FindTopLevels(m)) {
        const DWORD pid = OwnerProcess(w);
        if (pid == 0 || pid == GetCurrentProcessId()) continue;
        Process p = Process::Attach(pid);
        if (p && p.Running()) {
            p.Kill();
            ++killed;
        }
    }
    return killed;
}

}  // namespace dw::harness
