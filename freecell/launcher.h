#pragma once
// Finding FreeCell's main window at start-up, starting FreeCell first when it
// is not running, and telling the player when it cannot be found.
#include <string>

#include "freecell/process.h"
#include "freecell/window_system.h"

namespace dw {

inline constexpr wchar_t kNotFoundTitle[] = L"エラー";
inline constexpr wchar_t kNotFoundText[] =
    L"フリーセルが見つかりません。\r\n"
    L"コントロールパネル＞プログラム＞Windowsの機能の有効化または無効化\r\n"
    L"でフリーセルを追加してください。";

struct LaunchResult {
    // FreeCell's main window as found once the launch is over, or none; kept
    // for the whole run.
    WindowHandle FCHnd = kNoWindow;
    // FreeCell was neither running nor could it be started; the player has
    // been told in a message box.
    bool notFound = false;
    // ... and answered that box with "OK".
    bool answeredOk = false;
};

class Launcher {
public:
    // A started FreeCell gets this long to become ready for input before the
    // final look-up goes ahead without it; it is asked this often.
    static constexpr unsigned kReadyBoundMs = 10000;
    static constexpr unsigned kIdleSliceMs = 100;
    static constexpr unsigned kIdlePauseMs = 10;

    explicit Launcher(IProcessSystem& sys) : sys_(sys) {}

    // Takes the running FreeCell, or starts the one in the current directory,
    // or else the one installed under the Windows drive's root.
    LaunchResult FindOrLaunchFreeCell();

    // "X:\" of the drive that holds the Windows directory.
    std::wstring DriveRoot();

private:
    // Empty when started, else what the player is to be told.
    std::wstring Start(const std::wstring& path);
    void WaitUntilReady(IStartedProcess& process);

    IProcessSystem& sys_;
};

// Shown when starting an existing FreeCell fails: the path and the system's reason.
std::wstring StartFailedText(const std::wstring& path, const std::wstring& reason);

}  // namespace dw
