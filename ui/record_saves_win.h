#pragma once
// The run's writer: the record written on a thread of its own (RecordWriter),
// its news posted to a message-only window of ours, so that it is taken on
// the window thread between two messages like any other event; and the
// close's wait, which keeps dispatching the windows' messages until the
// writer is done or the bound has passed.
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "record/profile.h"
#include "record/record_writer.h"
#include "run/record_saves.h"
#include "win/base_window_win.h"
#include "win/handles_win.h"

namespace dw {

class ThreadRecordSaves final : public BaseWindow, public IRecordSaves {
public:
    // onWritten runs on the window thread once news of a write has come.
    ThreadRecordSaves(std::shared_ptr<ProfileFiles> files, std::function<void()> onWritten);
    void Create();
    void Destroy() override;

    void Hand(RecordSnapshot snapshot) override;
    std::vector<WriteOutcome> TakeOutcomes() override;
    bool WaitWritten(unsigned boundMs) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Posted();  // on the writer's thread

    std::function<void()> onWritten_;
    std::atomic<HWND> target_{nullptr};  // read by the writer's thread
    win::UniqueHandle wrote_;            // set by the writer after each write
    RecordWriter writer_;                // last: its thread goes before the rest
};

}  // namespace dw
