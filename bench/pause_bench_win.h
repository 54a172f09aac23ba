#pragma once
// The pause between games as the player feels it — win dialog shown to the
// next deal dealt — for Dealwarden and for the floor companion (the least a
// companion must do), in the same run on the same machine, step by step,
// with no other program on the clipboard and with a listener that holds it
// after every change.
#include <string>

#include "bench/table.h"

namespace dw::bench {

struct PauseOptions {
    int games = 100;           // wins per companion and clipboard; 0: not measured
    unsigned listenerMs = 40;  // the listener's hold; 0: no listener phases
    std::wstring dealwarden;   // the Dealwarden.exe measured
};

void MeasurePauseBetweenGames(const PauseOptions& o, Table& t);

}  // namespace dw::bench
