#pragma once
// The record a save writes in the benchmarks: a player some way into the
// deals, every history line filled, some deals won only at a later try.
#include "record/game_record.h"

namespace dw::bench {

inline TFCGameRecord SampleRecord() {
    TFCGameRecord r;
    r.GameNo = r.WGameNo = 654321;
    for (int i = 0; i < 2 * TFCGameRecord::HistSize; ++i) {
        r.TakeDealNumber();
        if (i % 3 == 2) r.CountFailedTry();
        r.CountWin();
    }
    return r;
}

}  // namespace dw::bench
