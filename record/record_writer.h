#pragma once
// The settings file written on a thread of its own, so that a save never
// holds up the windows: a large file, a slow USB stick or an antivirus scan
// can make one take seconds. The window thread hands over a snapshot of the
// record and goes on at once; the writer writes one snapshot at a time with
// IniWrite (the copy, then the replace), and a snapshot that has not been
// started yet is replaced by a newer one: only the newest record is worth
// writing. What became of each write is kept for the window thread to take.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "record/game_record.h"
#include "record/profile.h"

namespace dw {

// What a save writes, as it stood when it was handed over.
struct RecordSnapshot {
    std::wstring iniFileName;
    TFCGameRecord record;
    bool renMode = false;
};

// How one write ended: the snapshot it wrote, and IniWrite's message
// ("<path> に書き込めません") when it failed.
struct WriteOutcome {
    RecordSnapshot snapshot;
    std::optional<std::wstring> failure;
};

class RecordWriter {
public:
    // How long the writer's end waits for its thread to stop.
    static constexpr std::chrono::milliseconds kStopWait{2000};

    // files is used by the writer's thread alone. It is shared because a
    // thread that does not stop within kStopWait is left to end by itself.
    // onWritten is called on the writer's thread after each write, its
    // outcome kept: it must only wake the window thread (post a message, set
    // an event), never wait for it.
    RecordWriter(std::shared_ptr<ProfileFiles> files, std::function<void()> onWritten);
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;
    // Nothing more is written: a snapshot not yet started is dropped,
    // onWritten is not called again, and a write under way stops at its next
    // value, its copy removed and the file left as it was. Returns at once.
    void Stop();
    // At the program's end, after the close's wait: stops, and waits for the
    // thread at most kStopWait, since a process that ends while a thread is
    // inside a profile function can hang at its exit. A single value that
    // takes longer (a drive that stopped answering) is not waited for.
    ~RecordWriter();

    // Returns at once; replaces a snapshot that is still waiting.
    void Hand(RecordSnapshot snapshot);
    // Nothing waiting and nothing being written.
    bool Idle() const;
    // Blocks until Idle, at most bound; false when the writer is still busy.
    bool WaitIdle(std::chrono::milliseconds bound) const;
    // The outcomes of the writes finished since the last call, oldest first.
    std::vector<WriteOutcome> TakeOutcomes();

private:
    struct State;
    static void Run(std::shared_ptr<State> state);

    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace dw
