#include "ui/record_saves_win.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace dw {
namespace {

constexpr UINT kWrittenMessage = WM_APP + 1;

}  // namespace

ThreadRecordSaves::ThreadRecordSaves(std::shared_ptr<ProfileFiles> files,
                                     std::function<void()> onWritten)
    : onWritten_(std::move(onWritten)),
      wrote_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      writer_(std::move(files), [this] { Posted(); }) {}

void ThreadRecordSaves::Create() {
    CreateWin(L"DealwardenRecordSaves", 0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE, nullptr);
    target_ = Hwnd();
}

void ThreadRecordSaves::Destroy() {
    target_ = nullptr;
    BaseWindow::Destroy();
}

void ThreadRecordSaves::Posted() {
    if (HWND w = target_.load()) PostMessageW(w, kWrittenMessage, 0, 0);
    if (wrote_) SetEvent(wrote_.get());
}

void ThreadRecordSaves::Hand(RecordSnapshot snapshot) {
    writer_.Hand(std::move(snapshot));
}

std::vector<WriteOutcome> ThreadRecordSaves::TakeOutcomes() {
    return writer_.TakeOutcomes();
}

bool ThreadRecordSaves::WaitWritten(unsigned boundMs) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(boundMs);
    const auto left = [&] {
        return std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
    };
    for (;;) {
        if (writer_.Idle()) return true;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The loop that ends the program must see it too; the windows
                // are going, so the rest of the wait need not keep them.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return writer_.WaitIdle(std::chrono::milliseconds(std::max<long long>(left(), 0)));
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (writer_.Idle()) return true;
        const auto ms = left();
        if (ms <= 0) return false;
        const HANDLE wrote = wrote_.get();
        MsgWaitForMultipleObjectsEx(wrote ? 1 : 0, wrote ? &wrote : nullptr, static_cast<DWORD>(ms),
                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

LRESULT ThreadRecordSaves::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kWrittenMessage) {
        if (onWritten_) onWritten_();
        return 0;
    }
    return Default(msg, wParam, lParam);
}

}  // namespace dw
