#pragma once
// Move-only owners for the Win32 resources the program holds, so that every
// early exit (an AppError included) releases them.
#include <windows.h>

#include <string>
#include <utility>

namespace dw::win {

// Owner of a kernel handle (process, thread, file).
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    ~UniqueHandle() { reset(); }
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(HANDLE h = nullptr) {
        if (h_) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = nullptr;
};

// Owner of a global memory block until the clipboard takes it over.
class GlobalMemory {
public:
    GlobalMemory(UINT flags, SIZE_T bytes) : h_(GlobalAlloc(flags, bytes)) {}
    GlobalMemory(GlobalMemory&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GlobalMemory& operator=(GlobalMemory&&) = delete;
    ~GlobalMemory() {
        if (h_) GlobalFree(h_);
    }
    HGLOBAL get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    HGLOBAL release() { return std::exchange(h_, nullptr); }

private:
    HGLOBAL h_;
};

// A GlobalLock held for one scope.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL h) : h_(h), p_(h ? GlobalLock(h) : nullptr) {}
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    ~GlobalLockGuard() {
        if (p_) GlobalUnlock(h_);
    }
    void* get() const { return p_; }

private:
    HGLOBAL h_;
    void* p_;
};

// The clipboard opened for one operation; never left open.
class ClipboardOpening {
public:
    explicit ClipboardOpening(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ClipboardOpening(const ClipboardOpening&) = delete;
    ClipboardOpening& operator=(const ClipboardOpening&) = delete;
    ~ClipboardOpening() {
        if (open_) CloseClipboard();
    }
    bool is_open() const { return open_; }

private:
    bool open_;
};

// Owner of a window this code created for itself (not the program's forms).
class UniqueWindow {
public:
    UniqueWindow() = default;
    explicit UniqueWindow(HWND h) : h_(h) {}
    UniqueWindow(UniqueWindow&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueWindow& operator=(UniqueWindow&& o) noexcept {
        if (this != &o) {
            if (h_) DestroyWindow(h_);
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    ~UniqueWindow() {
        if (h_) DestroyWindow(h_);
    }
    HWND get() const { return h_; }

private:
    HWND h_ = nullptr;
};

// Owner of a window-event hook; released with UnhookWinEvent.
class UniqueWinEventHook {
public:
    UniqueWinEventHook() = default;
    explicit UniqueWinEventHook(HWINEVENTHOOK h) : h_(h) {}
    UniqueWinEventHook(UniqueWinEventHook&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueWinEventHook& operator=(UniqueWinEventHook&& o) noexcept {
        if (this != &o) {
            if (h_) UnhookWinEvent(h_);
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    ~UniqueWinEventHook() {
        if (h_) UnhookWinEvent(h_);
    }
    HWINEVENTHOOK get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HWINEVENTHOOK h_ = nullptr;
};

// The system's text for an error code, with trailing blanks and periods
// removed so it reads inside a sentence.
std::wstring SystemErrorText(DWORD code);

inline HWND ToHwnd(std::uintptr_t w) {
    return reinterpret_cast<HWND>(w);
}
inline std::uintptr_t FromHwnd(HWND h) {
    return reinterpret_cast<std::uintptr_t>(h);
}

}  // namespace dw::win
