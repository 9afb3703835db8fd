// The day's four curves against the time of day: PV power and output active
// power on the watts axis at the left, battery voltage and capacity on the
// volts-and-percent axis at the right. Each curve gets only as many points
// as the shown stretch of the day has pixel columns, by min/max, so a
// test-mode day of 432,000 rows draws at once and keeps every spike; a zoom
// takes the points of its stretch again.
#pragma once

#include <array>
#include <optional>

#include <QObject>
#include <QPointF>

#include "charts/dayseries.h"
#include "charts/todayscurves.h"

class QChart;
class QLineSeries;
class QValueAxis;

namespace brevanto {

class RefreshThrottle;
class TimeOfDayAxis;
class ZoomChartView;

class DayChart : public QObject {
    Q_OBJECT

public:
    // Columns of the plot, about the widest a window here gets.
    static constexpr int kColumns = 1600;

    // Draws into `view`, which owns the chart; `today` must outlive this.
    DayChart(ZoomChartView& view, const TodaysCurves& today);

    // Today's curves, drawn again as they grow (at most once a second) while
    // `following` says the window shows them.
    void showToday(const QString& title);
    // An earlier day as its file was read.
    void showDay(const QString& title, DaySeriesRead day);
    // Today's curves changed.
    void todayChanged();
    void setFollowing(bool following) { m_following = following; }

    QLineSeries& series(DayCurve curve) { return *m_series[static_cast<std::size_t>(curve)]; }

private:
    void addSeries();
    void draw();
    void drawSeries(const DaySeries& day);
    void zoomReset();
    void visibleStretchMoved();
    void setValueRanges(double highestPower, double highestOther);

    ZoomChartView& m_view;
    const TodaysCurves& m_today;
    QChart* m_chart = nullptr;
    TimeOfDayAxis* m_time = nullptr;
    QValueAxis* m_power = nullptr;
    QValueAxis* m_other = nullptr;
    std::array<QLineSeries*, kDayCurveCount> m_series{};
    // Empty while today's curves are shown.
    std::optional<DaySeriesRead> m_day;
    RefreshThrottle* m_todayRefresh = nullptr;
    RefreshThrottle* m_zoomRefresh = nullptr;
    bool m_following = false;
    bool m_zoomed = false;
    QPointF m_drawnStretch;
};

}  // namespace brevanto
