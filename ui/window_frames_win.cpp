#include "ui/window_frames_win.h"

#include <dwmapi.h>

#include <optional>
#include <string>

#include "win/handles_win.h"

namespace dw {
namespace {

// dwmapi is loaded, not linked: the program must start where it is missing
// (a stripped-down system) and on Windows 7, whatever it offers there.
class DesktopWindowManager {
public:
    DesktopWindowManager() {
        wchar_t dir[MAX_PATH] = {};
        const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
        if (n > 0 && n < MAX_PATH)
            library_ =
                win::UniqueLibrary(LoadLibraryW((std::wstring(dir) + L"\\dwmapi.dll").c_str()));
        if (library_)
            getAttribute_ = Function<GetAttribute>(library_.get(), "DwmGetWindowAttribute");
        // Windows 8.1 and later convert for each monitor; Windows 7 and 8
        // for the whole system, which is all they scale by.
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        toLogical_ = Function<ToLogical>(user32, "PhysicalToLogicalPointForPerMonitorDPI");
        if (!toLogical_) toLogical_ = Function<ToLogical>(user32, "PhysicalToLogicalPoint");
    }

    // The visible frame in physical pixels, converted to ours.
    std::optional<Rect> Frame(HWND w) const {
        RECT f{};
        if (!getAttribute_ || FAILED(getAttribute_(w, DWMWA_EXTENDED_FRAME_BOUNDS, &f, sizeof f)))
            return std::nullopt;
        // The last pixel inside, so both corners lie in the window.
        POINT tl{f.left, f.top}, br{f.right - 1, f.bottom - 1};
        if (toLogical_) {
            toLogical_(w, &tl);
            toLogical_(w, &br);
        }
        return Rect{tl.x, tl.y, br.x + 1, br.y + 1};
    }

private:
    using GetAttribute = decltype(&DwmGetWindowAttribute);
    using ToLogical = BOOL(WINAPI*)(HWND, LPPOINT);
    template <class F>
    static F Function(HMODULE m, const char* name) {
        return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
    }

    win::UniqueLibrary library_;
    GetAttribute getAttribute_ = nullptr;
    ToLogical toLogical_ = nullptr;
};

const DesktopWindowManager& Dwm() {
    static const DesktopWindowManager dwm;
    return dwm;
}

}  // namespace

Rect ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

Rect VisibleFrameOf(HWND w) {
    RECT r{};
    if (!GetWindowRect(w, &r)) return {};
    return VisibleFrame(ToRect(r), Dwm().Frame(w));
}

Rect PrimaryWorkArea() {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi))
        return ToRect(mi.rcWork);
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return ToRect(r);
}

FreeCellOnScreen LookAtFreeCell(HWND fc) {
    FreeCellOnScreen s;
    if (!fc || !IsWindow(fc)) {
        s.workArea = PrimaryWorkArea();
        return s;
    }
    s.present = true;
    // A minimized window's monitor is the one it is restored to.
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoW(MonitorFromWindow(fc, MONITOR_DEFAULTTONEAREST), &mi)) {
        mi.rcWork = mi.rcMonitor =
            RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
    }
    s.workArea = ToRect(mi.rcWork);
    s.minimized = IsIconic(fc) != FALSE;
    if (!s.minimized) {
        s.frame.frame = VisibleFrameOf(fc);
        POINT client{0, 0};
        ClientToScreen(fc, &client);
        s.frame.clientTop = client.y;
        return s;
    }
    // Minimized, its rectangle is the icon's; the placement keeps where it
    // goes back to, measured from the work area, not the screen.
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(fc, &wp);
    s.frame.frame = (wp.flags & WPF_RESTORETOMAXIMIZED)
                        ? s.workArea
                        : ScreenFromWorkspace(ToRect(wp.rcNormalPosition), ToRect(mi.rcMonitor),
                                              ToRect(mi.rcWork));
    // Its caption and menu as the system draws them; read again once restored.
    s.frame.clientTop = s.frame.frame.top + GetSystemMetrics(SM_CYCAPTION) +
                        GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYFRAME);
    return s;
}

FreeCellOnScreen Win32FreeCellScreen::Look(WindowHandle fcHnd) {
    return LookAtFreeCell(win::ToHwnd(fcHnd));
}

}  // namespace dw
