#include "freecell/launcher.h"

#include "freecell/contract.h"

namespace dw {

std::wstring StartFailedText(const std::wstring& path, const std::wstring& reason) {
    return L"フリーセル「" + path + L"」を起動できません。\r\n" + reason;
}

std::wstring Launcher::DriveRoot() {
    const unsigned length = sys_.WindowsDirectoryLength();
    return sys_.WindowsDirectory(length).substr(0, 3);
}

LaunchResult Launcher::FindOrLaunchFreeCell() {
    const std::wstring root = DriveRoot();
    LaunchResult result;
    if (sys_.FindWindowByClass(freecell::kWindowClass) == kNoWindow) {
        const std::wstring local(freecell::kExeName);
        const std::wstring installed = root + std::wstring(freecell::kInstallPath);
        std::wstring failure;  // what the player is told when FreeCell cannot be had
        if (sys_.FileExists(local)) {
            // ".\" pins the copy that was found: a bare name would be searched
            // for in Dealwarden's own folder first.
            failure = Start(L".\\" + local);
        } else if (sys_.FileExists(installed)) {
            failure = Start(installed);
        } else {
            failure = kNotFoundText;
        }
        if (!failure.empty()) {
            result.notFound = true;
            result.answeredOk =
                sys_.ShowMessage(failure, kNotFoundTitle, kMB_OK | kMB_ICONERROR) == kIDOK;
        }
    }
    // Also catches a FreeCell that has just been started; not repeated later.
    result.FCHnd = sys_.FindWindowByClass(freecell::kWindowClass);
    return result;
}

std::wstring Launcher::Start(const std::wstring& path) {
    // Quoted: unquoted, "C:\Program Files\..." would first run a C:\Program.exe.
    StartedProcess started = sys_.StartProcess(L"\"" + path + L"\"");
    if (!started.process) return StartFailedText(path, started.error);
    WaitUntilReady(*started.process);
    return {};
}

void Launcher::WaitUntilReady(IStartedProcess& process) {
    // A process that has ended, or never gets a message loop, is never idle:
    // give up then, or when the bound is spent, and let the look-up decide.
    const std::uint64_t start = sys_.NowMs();
    for (;;) {
        const IdleWait wait = process.WaitForInputIdle(kIdleSliceMs);
        sys_.Sleep(kIdlePauseMs);
        if (wait != IdleWait::Timeout || process.HasExited()) return;
        if (sys_.NowMs() - start >= kReadyBoundMs) return;
    }
}

}  // namespace dw
