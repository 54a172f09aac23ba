#pragma once
// A distribution of timed samples, as the benchmark table shows it.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace dw::bench {

struct Summary {
    std::size_t n = 0;
    double min = 0, median = 0, p90 = 0, max = 0;
};

// Nearest-rank percentiles: every figure is one of the samples.
inline Summary Summarize(std::vector<double> samples) {
    Summary s;
    s.n = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    const auto rank = [&](double p) {
        const auto k = static_cast<std::size_t>(p * static_cast<double>(s.n) + 0.999999);
        return samples[std::clamp<std::size_t>(k, 1, s.n) - 1];
    };
    s.min = samples.front();
    s.median = rank(0.5);
    s.p90 = rank(0.9);
    s.max = samples.back();
    return s;
}

}  // namespace dw::bench
