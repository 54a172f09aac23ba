#pragma once
// One copy of the program per Windows session: there is one FreeCell to
// watch and one record to keep. A copy started while another runs reads no
// settings and watches nothing: it hands over to the running copy, which
// brings its window to the front, and ends. The hand-over is bounded: a
// running copy that is still starting is waited for, one that is ending
// leaves this copy to run, and one that does not answer is told about.
#include <cstdint>

namespace dw {

// How taking the one-copy lock went.
enum class CopyLock {
    Ours,     // no other copy: this one runs
    Another,  // another copy holds it (from this user, or refused to us by
              // another integrity level: it runs all the same)
    NotMade,  // the lock could not be made at all
};

// How asking the running copy to come to the front went.
enum class HandOver {
    Answered,  // it did: its window is in front
    NoWindow,  // it has no window (yet, or any more)
    NoAnswer,  // it did not answer in time (hung, or busy ending)
};

class ISingleCopySystem {
public:
    virtual ~ISingleCopySystem() = default;
    virtual CopyLock TakeLock() = 0;
    // Waits up to ms for the running copy to let go of the lock (it ended);
    // true when this copy holds it now.
    virtual bool WaitForLock(unsigned ms) = 0;
    // Asks the running copy's window to come to the front, letting it take
    // the foreground; its answer is waited for up to ms.
    virtual HandOver HandOverToRunningCopy(unsigned ms) = 0;
    // Tells the player that a copy runs but does not answer.
    virtual void TellNotAnswering() = 0;
    virtual std::uint64_t NowMs() = 0;
};

enum class CopyStart { Run, Exit };

// A running copy gets this long to answer each ask, and the whole hand-over
// this long (it may still be creating its windows); the lock is looked at
// this often meanwhile.
inline constexpr unsigned kHandOverAnswerMs = 2000;
inline constexpr unsigned kHandOverBoundMs = 5000;
inline constexpr unsigned kLockPollMs = 100;

// Whether this copy runs; a lock that cannot be made stops nobody: better two
// copies than none.
CopyStart StartOneCopy(ISingleCopySystem& sys);

}  // namespace dw
