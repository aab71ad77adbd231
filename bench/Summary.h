#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

// Repeated measurements of one figure, reduced to what the benchmarks print.
struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
};

// `values` must not be empty.
inline Summary summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    const double median =
        values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    return {median, values.front(), values.back()};
}

// One line per figure, in the one shape that ./benchmark reads back.
inline void printFigure(const char* label, const std::vector<double>& values, const char* unit,
                        int decimals = 1) {
    const Summary s = summarise(values);
    std::printf("%s: median %.*f %s, min %.*f %s, max %.*f %s (%zu runs)\n", label, decimals,
                s.median, unit, decimals, s.min, unit, decimals, s.max, unit, values.size());
}
