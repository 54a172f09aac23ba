#include "bench/table.h"

#include <algorithm>

namespace dw::bench {

void Table::Print(std::FILE* out, bool markdown) const {
    const std::vector<std::string> head = {"figure", "Dealwarden", "against", "ratio"};
    std::vector<std::size_t> width(head.size());
    const auto cells = [](const Row& r) {
        return std::vector<std::string>{r.figure, r.value, r.reference, r.ratio};
    };
    for (std::size_t i = 0; i < head.size(); ++i) width[i] = head[i].size();
    for (const auto& r : rows_) {
        const auto c = cells(r);
        for (std::size_t i = 0; i < c.size(); ++i) width[i] = std::max(width[i], c[i].size());
    }
    const auto line = [&](const std::vector<std::string>& c) {
        std::string s = markdown ? "| " : "";
        for (std::size_t i = 0; i < c.size(); ++i) {
            s += c[i] + std::string(width[i] - c[i].size(), ' ');
            s += markdown ? " | " : "  ";
        }
        while (!s.empty() && s.back() == ' ') s.pop_back();
        std::fprintf(out, "%s\n", s.c_str());
    };
    line(head);
    std::vector<std::string> rule;
    for (auto w : width) rule.push_back(std::string(w, '-'));
    line(rule);
    for (const auto& r : rows_) line(cells(r));
    if (!notes_.empty()) std::fprintf(out, "\n");
    for (const auto& n : notes_) std::fprintf(out, "%s%s\n", markdown ? "- " : "* ", n.c_str());
}

std::string Fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string Millis(double ms) {
    return Fixed(ms, ms < 10 ? 2 : ms < 100 ? 1 : 0) + " ms";
}

std::string Micros(double us) {
    return Fixed(us, us < 10 ? 2 : us < 100 ? 1 : 0) + " us";
}

std::string MiB(std::size_t bytes) {
    return Fixed(static_cast<double>(bytes) / (1024.0 * 1024.0), 1) + " MiB";
}

std::string KiB(std::size_t bytes) {
    return Fixed(static_cast<double>(bytes) / 1024.0, 0) + " KiB";
}

std::string Ratio(double value, double reference) {
    if (!(reference > 0)) return "";
    std::string s = "x";
    s += Fixed(value / reference, value / reference < 10 ? 2 : 1);
    return s;
}

}  // namespace dw::bench
