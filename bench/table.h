#pragma once
// The table the Wine benchmark prints: one row a figure, Dealwarden's value
// beside what it is compared with, and their ratio.
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace dw::bench {

struct Row {
    std::string figure;
    std::string value;      // Dealwarden's
    std::string reference;  // what it is measured against, named
    std::string ratio;      // value / reference; empty where there is none
};

class Table {
public:
    void Add(Row row) { rows_.push_back(std::move(row)); }
    void Note(std::string line) { notes_.push_back(std::move(line)); }
    // Plain text for a terminal, or a Markdown table.
    void Print(std::FILE* out, bool markdown) const;

private:
    std::vector<Row> rows_;
    std::vector<std::string> notes_;
};

std::string Fixed(double v, int decimals);
std::string Millis(double ms);  // "12.3 ms"
std::string Micros(double us);  // "45.6 us"
std::string MiB(std::size_t bytes);
std::string KiB(std::size_t bytes);
// "x2.31"; empty when the reference is not positive.
std::string Ratio(double value, double reference);

}  // namespace dw::bench
