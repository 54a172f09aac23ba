#pragma once
// Finding, waiting for, reading and poking windows of other processes. One
// wineserver (one desktop) is shared by every test, so where it matters a
// window is looked up together with the process that owns it.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "freecell/contract.h"

namespace dw::harness {

using std::chrono::milliseconds;
inline constexpr milliseconds kDefaultTimeout{10000};
inline constexpr milliseconds kPollInterval{20};

// Polls cond until it holds or the timeout passes; true if it held.
bool WaitUntil(const std::function<bool()>& cond, milliseconds timeout = kDefaultTimeout);
// The same while this thread's messages are dispatched, for code under test
// that runs in this process and lives on its message loop.
bool PumpUntil(const std::function<bool()>& cond, milliseconds timeout = kDefaultTimeout);

// Which top-level windows to look for; an unset field matches anything.
struct WindowMatch {
    std::optional<std::wstring> title;  // exact
    std::optional<std::wstring> cls;    // exact window class
    DWORD pid = 0;                      // owning process; 0: any
    bool visibleOnly = false;
};
WindowMatch ByTitle(std::wstring title, DWORD pid = 0);
WindowMatch ByClass(std::wstring cls, DWORD pid = 0);

std::vector<HWND> FindTopLevels(const WindowMatch& m);
HWND FindTopLevel(const WindowMatch& m);  // first match, or nullptr
HWND WaitForTopLevel(const WindowMatch& m, milliseconds timeout = kDefaultTimeout);
// True once no window matches.
bool WaitForNoTopLevel(const WindowMatch& m, milliseconds timeout = kDefaultTimeout);
bool WaitForGone(HWND w, milliseconds timeout = kDefaultTimeout);
// A dialog can be found before its controls exist: this waits until it is
// visible and has a child of the class.
HWND WaitForDialogReady(const WindowMatch& m, const std::wstring& childClass,
                        milliseconds timeout = kDefaultTimeout);

DWORD OwnerProcess(HWND w);
std::vector<HWND> TopLevelsOf(DWORD pid);

// Children, in the order FindWindowExW walks them; index 0 is the first.
HWND FindChild(HWND parent, const std::wstring& cls, int index = 0);
HWND FindChildByText(HWND parent, const std::wstring& cls, const std::wstring& text);
HWND WaitForChild(HWND parent, const std::wstring& cls, milliseconds timeout = kDefaultTimeout);
std::vector<HWND> Children(HWND parent);  // direct children

// Text as the window itself reports it (WM_GETTEXT across processes), so an
// edit field's current contents are read, not its creation caption.
std::wstring Text(HWND w);
std::wstring ClassName(HWND w);
RECT ScreenRect(HWND w);  // screen rectangle
LONG_PTR Style(HWND w);
bool IsVisible(HWND w);
bool IsMinimized(HWND w);
bool IsEnabled(HWND w);

bool Post(HWND w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
bool Post(HWND w, const freecell::Message& m);
bool PostAll(HWND w, const std::vector<freecell::Message>& seq);
bool Click(HWND button);                   // posts BM_CLICK
bool PostCommand(HWND w, WORD commandId);  // posts WM_COMMAND as a menu item would

}  // namespace dw::harness
