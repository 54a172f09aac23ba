#include "record/record_writer.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "record/app_error.h"
#include "record/settings.h"

namespace dw {

// Shared by the owner and the thread, so that a thread left to finish its
// write never reaches into a writer that is gone.
struct RecordWriter::State {
    std::shared_ptr<ProfileFiles> files;
    mutable std::mutex m;
    mutable std::condition_variable wake;  // a snapshot came, or the writer goes
    mutable std::condition_variable idle;  // a write ended, or the thread did
    std::function<void()> onWritten;
    std::optional<RecordSnapshot> waiting;
    bool writing = false;
    bool ended = false;
    std::atomic<bool> stopping = false;  // read by the write between its values
    std::vector<WriteOutcome> outcomes;
};

namespace {

// The files as a write sees them: once the writer is stopping, every further
// step fails, so that IniWrite gives up and removes its copy.
class StoppableFiles final : public ProfileFiles {
public:
    StoppableFiles(ProfileFiles& files, const std::atomic<bool>& stopping)
        : files_(files), stopping_(stopping) {}

    std::optional<std::wstring> Unusable(const std::wstring& file) override {
        return files_.Unusable(file);
    }
    std::wstring ReadValue(const std::wstring& file, const std::wstring& section,
                           const std::wstring& key) override {
        return files_.ReadValue(file, section, key);
    }
    bool WriteValue(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value) override {
        return !stopping_ && files_.WriteValue(file, section, key, value);
    }
    bool StartCopy(const std::wstring& file, const std::wstring& copy) override {
        return !stopping_ && files_.StartCopy(file, copy);
    }
    bool ReplaceWith(const std::wstring& copy, const std::wstring& file) override {
        return !stopping_ && files_.ReplaceWith(copy, file);
    }
    void Remove(const std::wstring& file) override { files_.Remove(file); }

private:
    ProfileFiles& files_;
    const std::atomic<bool>& stopping_;
};

}  // namespace

RecordWriter::RecordWriter(std::shared_ptr<ProfileFiles> files, std::function<void()> onWritten)
    : state_(std::make_shared<State>()) {
    state_->files = std::move(files);
    state_->onWritten = std::move(onWritten);
    thread_ = std::thread(Run, state_);
}

void RecordWriter::Stop() {
    {
        std::lock_guard lock(state_->m);
        state_->stopping = true;
        state_->waiting.reset();
        state_->onWritten = nullptr;
    }
    state_->wake.notify_all();
}

RecordWriter::~RecordWriter() {
    Stop();
    std::unique_lock lock(state_->m);
    const bool ended = state_->idle.wait_for(lock, kStopWait, [&] { return state_->ended; });
    lock.unlock();
    if (ended)
        thread_.join();
    else
        thread_.detach();
}

void RecordWriter::Hand(RecordSnapshot snapshot) {
    {
        std::lock_guard lock(state_->m);
        state_->waiting = std::move(snapshot);
    }
    state_->wake.notify_all();
}

bool RecordWriter::Idle() const {
    std::lock_guard lock(state_->m);
    return !state_->waiting && !state_->writing;
}

bool RecordWriter::WaitIdle(std::chrono::milliseconds bound) const {
    std::unique_lock lock(state_->m);
    return state_->idle.wait_for(lock, bound, [&] { return !state_->waiting && !state_->writing; });
}

std::vector<WriteOutcome> RecordWriter::TakeOutcomes() {
    std::lock_guard lock(state_->m);
    return std::exchange(state_->outcomes, {});
}

void RecordWriter::Run(std::shared_ptr<State> s) {
    std::unique_lock lock(s->m);
    for (;;) {
        s->wake.wait(lock, [&] { return s->stopping || s->waiting; });
        if (s->stopping) {
            s->ended = true;
            s->idle.notify_all();
            return;
        }
        WriteOutcome outcome{std::move(*s->waiting), std::nullopt};
        s->waiting.reset();
        s->writing = true;
        lock.unlock();
        const RecordSnapshot& snap = outcome.snapshot;
        StoppableFiles files(*s->files, s->stopping);
        try {
            IniWrite(files, snap.iniFileName, snap.record, snap.renMode);
        } catch (const AppError& e) {
            outcome.failure = e.Message();
        } catch (...) {
            // Out of memory, say: the file is as it was, as for any failure.
            outcome.failure = FormatMessageText(L"%s に書き込めません", snap.iniFileName);
        }
        lock.lock();
        s->writing = false;
        s->outcomes.push_back(std::move(outcome));
        s->idle.notify_all();
        // Under the lock: the owner cannot clear it and go meanwhile.
        if (s->onWritten) s->onWritten();
    }
}

}  // namespace dw
