// The month's energy as bars: for each day of the month its solar and its
// line energy in kWh, as the month's energy log holds them. A day without
// a line stays at zero, so the days keep their places.
#pragma once

#include <QObject>

#include "charts/monthenergy.h"

class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QChart;
class QValueAxis;

namespace brevanto {

class ZoomChartView;

class MonthChart : public QObject {
    Q_OBJECT

public:
    // Draws into `view`, which owns the chart.
    explicit MonthChart(ZoomChartView& view);

    void show(const QString& title, int year, int month, const MonthEnergyRead& energy);

    QBarSet& solar() { return *m_solar; }
    QBarSet& line() { return *m_line; }

private:
    void setRanges();

    ZoomChartView& m_view;
    QChart* m_chart = nullptr;
    QBarSeries* m_bars = nullptr;
    QBarSet* m_solar = nullptr;
    QBarSet* m_line = nullptr;
    QBarCategoryAxis* m_days = nullptr;
    QValueAxis* m_energy = nullptr;
};

}  // namespace brevanto
