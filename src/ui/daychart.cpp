#include "ui/daychart.h"

#include <algorithm>
#include <utility>

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include "charts/minmaxreduce.h"
#include "ui/chartlook.h"
#include "ui/refreshthrottle.h"
#include "ui/timeofdayaxis.h"
#include "ui/zoomchartview.h"

namespace brevanto {

namespace {

constexpr int kTodayRefreshMs = 1000;
// Battery voltage and capacity both fit under a hundred.
constexpr double kLeastOther = 100;
constexpr double kLeastPower = 100;

constexpr DayCurve kCurves[] = {DayCurve::PvPower, DayCurve::OutputActivePower,
                                DayCurve::BatteryVoltage, DayCurve::BatteryCapacity};

QString curveName(DayCurve curve) {
    return QStringLiteral("%1 (%2)").arg(QLatin1String(dayCurveTitle(curve)),
                                         QLatin1String(dayCurveUnit(curve)));
}

// The rows whose time is in [from, to], with one more at either side, so a
// zoomed curve still runs to the plot's edges.
std::pair<std::size_t, std::size_t> rowsWithin(const std::vector<float>& seconds, double from,
                                               double to) {
    const auto first = std::lower_bound(seconds.begin(), seconds.end(), static_cast<float>(from));
    const auto last = std::upper_bound(first, seconds.end(), static_cast<float>(to));
    const std::size_t begin = static_cast<std::size_t>(first - seconds.begin());
    const std::size_t end = static_cast<std::size_t>(last - seconds.begin());
    return {begin > 0 ? begin - 1 : 0, std::min(end + 1, seconds.size())};
}

}  // namespace

DayChart::DayChart(ZoomChartView& view, const TodaysCurves& today)
    : QObject(&view), m_view(view), m_today(today) {
    m_chart = new QChart;
    applyChartLook(*m_chart);
    m_time = new TimeOfDayAxis(m_chart);
    m_time->setTitleText(QStringLiteral("Time of day"));
    m_power = new QValueAxis(m_chart);
    m_power->setTitleText(QStringLiteral("Power [W]"));
    m_power->setLabelFormat(QStringLiteral("%.0f"));
    m_other = new QValueAxis(m_chart);
    m_other->setTitleText(QStringLiteral("Battery [V, %]"));
    m_other->setLabelFormat(QStringLiteral("%.0f"));
    m_other->setGridLineVisible(false);
    for (QValueAxis* axis : {static_cast<QValueAxis*>(m_time), m_power, m_other}) {
        applyAxisLook(*axis);
    }
    m_chart->addAxis(m_time, Qt::AlignBottom);
    m_chart->addAxis(m_power, Qt::AlignLeft);
    m_chart->addAxis(m_other, Qt::AlignRight);
    addSeries();
    m_view.setChart(m_chart);
    setValueRanges(0, 0);

    m_todayRefresh = new RefreshThrottle(
        kTodayRefreshMs, [this] { draw(); }, this);
    m_zoomRefresh = new RefreshThrottle(
        0, [this] { visibleStretchMoved(); }, this);
    // Any stretch of the day this chart did not set is the user's zoom,
    // whichever way it came.
    connect(m_time, &QValueAxis::rangeChanged, this, [this](qreal min, qreal max) {
        if (QPointF(min, max) != m_drawnStretch) {
            m_zoomed = true;
            m_zoomRefresh->request();
        }
    });
    connect(&m_view, &ZoomChartView::zoomed, this, [this] { m_zoomed = true; });
    connect(&m_view, &ZoomChartView::zoomResetRequested, this, &DayChart::zoomReset);
}

void DayChart::addSeries() {
    for (const DayCurve curve : kCurves) {
        auto* series = new QLineSeries(m_chart);
        series->setName(curveName(curve));
        // Drawn by the CPU: the offscreen platform and remote desktops have no GL.
        series->setUseOpenGL(false);
        QPen pen(curveColour(curve));
        pen.setWidthF(1.5);
        series->setPen(pen);
        m_chart->addSeries(series);
        series->attachAxis(m_time);
        series->attachAxis(onPowerAxis(curve) ? m_power : m_other);
        m_series[static_cast<std::size_t>(curve)] = series;
    }
}

void DayChart::showToday(const QString& title) {
    m_chart->setTitle(title);
    m_day.reset();
    m_zoomed = false;
    draw();
}

void DayChart::showDay(const QString& title, DaySeriesRead day) {
    m_chart->setTitle(title);
    m_day = std::move(day);
    m_zoomed = false;
    draw();
}

void DayChart::todayChanged() {
    if (m_following && !m_day) {
        m_todayRefresh->request();
    }
}

void DayChart::draw() {
    if (!m_zoomed) {
        m_drawnStretch = {0, TimeOfDayAxis::kDaySeconds};
        m_time->setRange(0, TimeOfDayAxis::kDaySeconds);
    }
    if (m_day) {
        drawSeries(m_day->series);
        const char* why = !m_day->problem.empty() ? m_day->problem.c_str()
                          : m_day->series.empty() ? "The day's log file holds no readings."
                                                  : "";
        m_view.setNote(QString::fromUtf8(why));
        return;
    }
    const bool empty = m_today.read([this](const DaySeries& today) {
        drawSeries(today);
        return today.empty();
    });
    m_view.setNote(empty ? QStringLiteral("No readings for this day yet.") : QString());
}

// Under the curves' lock when they are today's: the reduction reads each
// row once, as a copy would, and leaves a few thousand points.
void DayChart::drawSeries(const DaySeries& day) {
    const double from = m_time->min();
    const double to = m_time->max();
    m_drawnStretch = {from, to};
    const auto [begin, end] = rowsWithin(day.seconds, from, to);
    const std::span<const float> seconds(day.seconds.data() + begin, end - begin);
    double highestPower = 0;
    double highestOther = 0;
    for (const DayCurve curve : kCurves) {
        const std::span<const float> values = day.curve(curve).subspan(begin, end - begin);
        const std::vector<ChartPoint> reduced = reduceMinMax(
            seconds, values, static_cast<float>(from), static_cast<float>(to), kColumns);
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(reduced.size()));
        double& highest = onPowerAxis(curve) ? highestPower : highestOther;
        for (const ChartPoint& point : reduced) {
            points.append(QPointF(point.x, point.y));
            highest = std::max(highest, static_cast<double>(point.y));
        }
        series(curve).replace(points);
    }
    if (!m_zoomed) {
        setValueRanges(highestPower, highestOther);
    }
}

void DayChart::setValueRanges(double highestPower, double highestOther) {
    m_power->setRange(0, std::max(highestPower * 1.05, kLeastPower));
    m_power->applyNiceNumbers();
    // A full battery stands at the top of its scale, not under a margin.
    if (highestOther <= kLeastOther) {
        m_other->setRange(0, kLeastOther);
        return;
    }
    m_other->setRange(0, highestOther * 1.05);
    m_other->applyNiceNumbers();
}

void DayChart::zoomReset() {
    m_zoomed = false;
    draw();
}

void DayChart::visibleStretchMoved() {
    if (QPointF(m_time->min(), m_time->max()) != m_drawnStretch) {
        draw();
    }
}

}  // namespace brevanto
