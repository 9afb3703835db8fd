#include "ui/chartlook.h"

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>

namespace brevanto {

namespace {

const QColor kInk(0x2e, 0x21, 0x40);
const QColor kViolet(0x4a, 0x26, 0x75);
const QColor kFrame(0xfa, 0xf8, 0xfc);
const QColor kGrid(0xe4, 0xd8, 0xf3);
const QColor kAxisLine(0xb9, 0xa6, 0xd3);

QFont chartFont(int points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

}  // namespace

QColor curveColour(DayCurve curve) {
    switch (curve) {
        case DayCurve::PvPower:
            return {0xd9, 0x8e, 0x04};
        case DayCurve::BatteryVoltage:
            return {0x16, 0x81, 0x7a};
        case DayCurve::OutputActivePower:
            return {0x6b, 0x3f, 0xa0};
        case DayCurve::BatteryCapacity:
            return {0x3b, 0x7d, 0xd8};
    }
    return kInk;
}

QColor solarColour() {
    return curveColour(DayCurve::PvPower);
}

QColor lineColour() {
    return curveColour(DayCurve::OutputActivePower);
}

void applyChartLook(QChart& chart) {
    chart.setBackgroundBrush(kFrame);
    chart.setBackgroundRoundness(0);
    chart.setPlotAreaBackgroundBrush(Qt::white);
    chart.setPlotAreaBackgroundVisible(true);
    chart.setTitleFont(chartFont(10, true));
    chart.setTitleBrush(kViolet);
    chart.setMargins(QMargins(6, 6, 6, 6));
    QLegend& legend = *chart.legend();
    legend.setVisible(true);
    legend.setAlignment(Qt::AlignBottom);
    legend.setFont(chartFont(9));
    legend.setLabelColor(kInk);
}

void applyViewLook(QChartView& view) {
    view.setBackgroundBrush(kFrame);
    view.setFrameShape(QFrame::NoFrame);
}

void applyAxisLook(QAbstractAxis& axis) {
    axis.setLabelsFont(chartFont(8));
    axis.setLabelsColor(kInk);
    axis.setTitleFont(chartFont(9, true));
    axis.setTitleBrush(kViolet);
    axis.setGridLineColor(kGrid);
    axis.setLinePenColor(kAxisLine);
}

}  // namespace brevanto
