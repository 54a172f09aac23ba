#pragma once
// When the record is written and when a failed write is told. A booking is
// saved a moment after it, together with whatever else was booked meanwhile;
// a record that is on disk already, or on its way there, is not written
// again; a settings file that could not be used at start is never written.
// The writes are the writer's, off the window thread: the record counts as
// on disk only once the writer has reported a write of it as done. A failed
// save is told once: later failures stay quiet until a save succeeds, and
// one after that is news again.
#include <optional>

#include "record/game_record.h"

namespace dw {

class SavePolicy {
public:
    // A booking is saved this long after it: the save takes tens of
    // milliseconds of the window system's, which FreeCell needs meanwhile to
    // deal the next game the booking asked for.
    static constexpr unsigned kDelayMs = 150;

    // The settings file cannot be used: the stored record, never read, is
    // never replaced.
    void NeverWrite() { writes_ = false; }
    bool Writes() const { return writes_; }

    // The record as the file holds it now (just read, or just written).
    void OnDisk(const TFCGameRecord& record, bool renMode);
    bool IsOnDisk(const TFCGameRecord& record, bool renMode) const;

    // Something may have been booked: true when the save is to be started
    // now, a moment from now (it is not due already and there is something
    // to write that is not on its way).
    bool Booked(const TFCGameRecord& record, bool renMode);
    // The moment has come: true when the record is to be handed over.
    bool DueNow(const TFCGameRecord& record, bool renMode);

    // The record was handed to the writer: it is not handed again until the
    // writer reports on it.
    void Handed(const TFCGameRecord& record, bool renMode);
    // The writer wrote this record: it is on disk, and a later failure is news.
    void Succeeded(const TFCGameRecord& record, bool renMode);
    // The writer could not write this record: it is written again at the
    // next chance.
    void Failed(const TFCGameRecord& record, bool renMode);
    // A write failed: true when the player is to be told (the first failure
    // since the run began or since the last success), false after that.
    bool FailureToTell();

private:
    // Only what the file stores counts (see SameStoredFields).
    struct Stored {
        TFCGameRecord record;
        bool renMode = false;
        bool Holds(const TFCGameRecord& r, bool rm) const;
    };
    bool IsHanded(const TFCGameRecord& record, bool renMode) const;

    bool writes_ = true;
    bool due_ = false;
    bool told_ = false;
    std::optional<Stored> onDisk_;
    // The newest record handed over and not reported on yet.
    std::optional<Stored> handed_;
};

}  // namespace dw
