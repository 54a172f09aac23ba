#pragma once
// One move-only owner for every Win32 resource the program holds, so that
// every early exit (an AppError included) releases it: each owned kind is a
// release function and a one-line alias.
#include <windows.h>

#include <cstdint>
#include <type_traits>
#include <utility>

namespace dw::win {

// Owns a T (a handle, or a token of something held) and releases it with
// Release unless it is empty: T{}, or the value Invalid some functions
// return instead (INVALID_HANDLE_VALUE is -1), which is taken as empty.
// Moved, the source is left empty.
template <class T, auto Release, std::intptr_t Invalid = 0>
class UniqueAny {
public:
    UniqueAny() = default;
    explicit UniqueAny(T value) : value_(IsInvalid(value) ? T{} : value) {}
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& o) noexcept : value_(o.release()) {}
    UniqueAny& operator=(UniqueAny&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    ~UniqueAny() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != T{}; }
    // Lets go without releasing: someone else owns it now.
    T release() { return std::exchange(value_, T{}); }
    void reset(T value = T{}) {
        if (value_ != T{}) Release(value_);
        value_ = IsInvalid(value) ? T{} : value;
    }

private:
    static bool IsInvalid(T v) {
        if constexpr (std::is_pointer_v<T>)
            return Invalid != 0 && reinterpret_cast<std::intptr_t>(v) == Invalid;
        else
            return Invalid != 0 && static_cast<std::intptr_t>(v) == Invalid;
    }
    T value_{};
};

namespace release {
inline void Handle(HANDLE h) {
    CloseHandle(h);
}
inline void Global(HGLOBAL h) {
    GlobalFree(h);
}
inline void Window(HWND h) {
    DestroyWindow(h);
}
inline void WinEventHook(HWINEVENTHOOK h) {
    UnhookWinEvent(h);
}
inline void Hook(HHOOK h) {
    UnhookWindowsHookEx(h);
}
inline void Library(HMODULE h) {
    FreeLibrary(h);
}
inline void Unlock(HGLOBAL h) {
    GlobalUnlock(h);
}
inline void Clipboard(bool) {
    CloseClipboard();
}
}  // namespace release

// A kernel handle (process, thread, file, mutex); CreateFileW's
// INVALID_HANDLE_VALUE is none.
using UniqueHandle = UniqueAny<HANDLE, release::Handle, -1>;
// A global memory block, until the clipboard takes it over (release()).
using UniqueGlobal = UniqueAny<HGLOBAL, release::Global>;
// A window this code created for itself (not the program's forms).
using UniqueWindow = UniqueAny<HWND, release::Window>;
using UniqueWinEventHook = UniqueAny<HWINEVENTHOOK, release::WinEventHook>;
using UniqueHook = UniqueAny<HHOOK, release::Hook>;
// A DLL loaded at run time, where it may be missing.
using UniqueLibrary = UniqueAny<HMODULE, release::Library>;

// A GlobalLock held for one scope: the block stays locked while get() is used.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL h) : p_(h ? GlobalLock(h) : nullptr) {
        if (p_) lock_.reset(h);
    }
    void* get() const { return p_; }

private:
    UniqueAny<HGLOBAL, release::Unlock> lock_;
    void* p_;
};

// The clipboard opened for one operation; never left open.
class ClipboardOpening {
public:
    explicit ClipboardOpening(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    bool is_open() const { return static_cast<bool>(open_); }

private:
    UniqueAny<bool, release::Clipboard> open_;
};

inline HWND ToHwnd(std::uintptr_t w) {
    return reinterpret_cast<HWND>(w);
}
inline std::uintptr_t FromHwnd(HWND h) {
    return reinterpret_cast<std::uintptr_t>(h);
}

}  // namespace dw::win
