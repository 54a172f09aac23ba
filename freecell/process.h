#pragma once
// The process and message-box calls that finding or starting FreeCell needs,
// behind a seam so the launcher's logic runs and is tested without Windows.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "freecell/window_system.h"

namespace dw {

// Message-box styles and answers by number, so this header needs no Windows header.
inline constexpr unsigned kMB_OK = 0x00000000;
inline constexpr unsigned kMB_ICONERROR = 0x00000010;
inline constexpr int kIDOK = 1;

// How one bounded wait for a process's first idle moment ended.
enum class IdleWait {
    Idle,     // it waits for input: its windows exist
    Timeout,  // not yet
    Failed,   // it cannot be waited for (ended, no message loop, bad handle)
};

// A process we started; releasing it closes our handle, not the process.
class IStartedProcess {
public:
    virtual ~IStartedProcess() = default;
    virtual IdleWait WaitForInputIdle(unsigned timeoutMs) = 0;
    virtual bool HasExited() = 0;
};

struct StartedProcess {
    std::unique_ptr<IStartedProcess> process;  // none when it could not be started
    std::wstring error;                        // then the system's reason
};

class IProcessSystem {
public:
    virtual ~IProcessSystem() = default;
    // Characters the Windows directory path needs, its terminator included.
    virtual unsigned WindowsDirectoryLength() = 0;
    // The Windows directory path, fetched into a buffer of that many characters.
    virtual std::wstring WindowsDirectory(unsigned length) = 0;
    // A file (not a directory) at this path, relative to the current directory
    // unless absolute.
    virtual bool FileExists(const std::wstring& path) = 0;
    // Starts the program whose command line is commandLine, with our own
    // start-up information, no inherited handles and the default error mode.
    virtual StartedProcess StartProcess(const std::wstring& commandLine) = 0;
    virtual void Sleep(unsigned ms) = 0;
    // Milliseconds on a clock that only moves forward; waits are bounded by
    // it, not by how many pauses they took (each lasts what the system makes
    // of it: ~15.6 ms on Windows for a 10 ms one).
    virtual std::uint64_t NowMs() = 0;
    // Top-level window of this class (any title), or none.
    virtual WindowHandle FindWindowByClass(std::wstring_view cls) = 0;
    // A message box over the program's window, in front; the answer given.
    virtual int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned type) = 0;
};

}  // namespace dw
