#pragma once
// What the score window's history box costs with a long run behind it: the
// text set at once, and one more line put on top (as after every booking),
// at a thousand, ten thousand and a hundred thousand lines.
#include "bench/table.h"

namespace dw::bench {

void MeasureHistoryBox(int inserts, Table& t);

}  // namespace dw::bench
