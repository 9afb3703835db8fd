// Fewer points, no line lost: a curve of hundreds of thousands of points is
// cut down to what a screen of so many pixel columns can show. Each column
// keeps its first, lowest, highest and last point, in their order, so every
// spike and every dip stays on the screen.
#pragma once

#include <span>
#include <vector>

namespace brevanto {

struct ChartPoint {
    float x;
    float y;
};

// `x` ascending. Points with a NaN value are left out. With no more points
// than four per column, every point is kept.
std::vector<ChartPoint> reduceMinMax(std::span<const float> x, std::span<const float> y, float x0,
                                     float x1, int columns);

}  // namespace brevanto
