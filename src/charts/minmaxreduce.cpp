#include "charts/minmaxreduce.h"

#include <algorithm>
#include <cmath>

namespace brevanto {

std::vector<ChartPoint> reduceMinMax(std::span<const float> x, std::span<const float> y, float x0,
                                     float x1, int columns) {
    const std::size_t count = std::min(x.size(), y.size());
    std::vector<ChartPoint> points;
    if (count <= static_cast<std::size_t>(std::max(columns, 0)) * 4 || columns <= 0 || !(x1 > x0)) {
        points.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            if (!std::isnan(y[i])) {
                points.push_back({x[i], y[i]});
            }
        }
        return points;
    }
    points.reserve(static_cast<std::size_t>(columns) * 4);
    const float width = (x1 - x0) / static_cast<float>(columns);
    std::size_t i = 0;
    while (i < count) {
        if (std::isnan(y[i])) {
            ++i;
            continue;
        }
        const int column = std::clamp(static_cast<int>((x[i] - x0) / width), 0, columns - 1);
        std::size_t first = i;
        std::size_t last = i;
        std::size_t lowest = i;
        std::size_t highest = i;
        for (++i; i < count; ++i) {
            if (std::isnan(y[i])) {
                continue;
            }
            if (std::clamp(static_cast<int>((x[i] - x0) / width), 0, columns - 1) != column) {
                break;
            }
            last = i;
            if (y[i] < y[lowest]) {
                lowest = i;
            }
            if (y[i] > y[highest]) {
                highest = i;
            }
        }
        // In their order along the curve, each once.
        std::size_t kept[4] = {first, std::min(lowest, highest), std::max(lowest, highest), last};
        std::size_t previous = count;
        for (std::size_t index : kept) {
            if (index != previous) {
                points.push_back({x[index], y[index]});
                previous = index;
            }
        }
    }
    return points;
}

}  // namespace brevanto
