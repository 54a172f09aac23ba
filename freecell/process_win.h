#pragma once
// The process seam over kernel32 and user32.
#include "freecell/process.h"
#include "win/handles_win.h"

namespace dw {

class Win32ProcessSystem final : public IProcessSystem {
public:
    unsigned WindowsDirectoryLength() override;
    std::wstring WindowsDirectory(unsigned length) override;
    bool FileExists(const std::wstring& path) override;
    StartedProcess StartProcess(const std::wstring& commandLine) override;
    void Sleep(unsigned ms) override;
    std::uint64_t NowMs() override;
    WindowHandle FindWindowByClass(std::wstring_view cls) override;
    int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned type) override;
};

}  // namespace dw
