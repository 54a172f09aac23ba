#include "run/single_copy.h"

namespace dw {

CopyStart StartOneCopy(ISingleCopySystem& sys) {
    switch (sys.TakeLock()) {
        case CopyLock::Ours:
        case CopyLock::NotMade:
            return CopyStart::Run;
        case CopyLock::Another:
            break;
    }
    const std::uint64_t start = sys.NowMs();
    do {
        if (sys.HandOverToRunningCopy(kHandOverAnswerMs) == HandOver::Answered)
            return CopyStart::Exit;
        // Not there, or not answering: if it is ending, the lock is let go
        // of soon, and this copy is the one that runs.
        if (sys.WaitForLock(kLockPollMs)) return CopyStart::Run;
    } while (sys.NowMs() - start < kHandOverBoundMs);
    sys.TellNotAnswering();
    return CopyStart::Exit;
}

}  // namespace dw
