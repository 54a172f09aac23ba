#pragma once
// The writer the run hands its record to, behind a seam so that its rules
// are tested without threads or windows. The record is written off the
// window thread (see RecordWriter); news of each finished write comes back
// to the window thread, which then takes the outcomes (PlayRun::
// OnRecordWritten).
#include <vector>

#include "record/record_writer.h"

namespace dw {

class IRecordSaves {
public:
    virtual ~IRecordSaves() = default;
    // Returns at once: the snapshot is written after the write under way, if
    // any, and replaces one still waiting (the newest wins).
    virtual void Hand(RecordSnapshot snapshot) = 0;
    // The outcomes of the writes finished since the last call, oldest first.
    virtual std::vector<WriteOutcome> TakeOutcomes() = 0;
    // Waits until every snapshot handed over has been written or has failed
    // (true), or boundMs have passed (false), the windows answering
    // meanwhile: their messages are dispatched while it waits.
    virtual bool WaitWritten(unsigned boundMs) = 0;
};

}  // namespace dw
