#pragma once
// The one-copy lock and the hand-over to a running copy, through Windows: a
// named mutex in the session's namespace, held from start to exit, and the
// running copy's application window asked to come forward.
#include <windows.h>

#include "run/single_copy.h"
#include "win/handles_win.h"

namespace dw {

class Win32SingleCopy final : public ISingleCopySystem {
public:
    CopyLock TakeLock() override;
    bool WaitForLock(unsigned ms) override;
    HandOver HandOverToRunningCopy(unsigned ms) override;
    void TellNotAnswering() override;
    std::uint64_t NowMs() override;

private:
    win::UniqueHandle mutex_;  // released when the program ends
};

}  // namespace dw
