// The charts in the amethyst look. The style sheet does not reach into a
// chart's scene, so its colours and type are set here, the sheet's own.
#pragma once

#include <QColor>

#include "charts/dayseries.h"

class QAbstractAxis;
class QChart;
class QChartView;

namespace brevanto {

QColor curveColour(DayCurve curve);
QColor solarColour();
QColor lineColour();

// The chart's background, plot area, title and legend.
void applyChartLook(QChart& chart);
// The view around the chart, in the chart's own background, without a frame.
void applyViewLook(QChartView& view);
// An axis' labels, title and grid.
void applyAxisLook(QAbstractAxis& axis);

}  // namespace brevanto
