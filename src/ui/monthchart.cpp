#include "ui/monthchart.h"

#include <algorithm>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDate>
#include <QValueAxis>

#include "ui/chartlook.h"
#include "ui/zoomchartview.h"

namespace brevanto {

namespace {

// An empty month still shows a kWh scale.
constexpr double kLeastEnergy = 1;

QBarSet* barSet(const char* name, const QColor& colour, QObject* parent) {
    auto* set = new QBarSet(QString::fromLatin1(name), parent);
    set->setColor(colour);
    set->setBorderColor(colour.darker(115));
    return set;
}

}  // namespace

MonthChart::MonthChart(ZoomChartView& view) : QObject(&view), m_view(view) {
    m_chart = new QChart;
    applyChartLook(*m_chart);
    m_bars = new QBarSeries(m_chart);
    m_solar = barSet("Solar", solarColour(), m_bars);
    m_line = barSet("Line", lineColour(), m_bars);
    m_bars->append(m_solar);
    m_bars->append(m_line);
    m_days = new QBarCategoryAxis(m_chart);
    m_days->setTitleText(QStringLiteral("Day of the month"));
    m_energy = new QValueAxis(m_chart);
    m_energy->setTitleText(QStringLiteral("Energy [kWh]"));
    m_energy->setLabelFormat(QStringLiteral("%.1f"));
    applyAxisLook(*m_days);
    applyAxisLook(*m_energy);
    m_days->setGridLineVisible(false);
    m_chart->addSeries(m_bars);
    m_chart->addAxis(m_days, Qt::AlignBottom);
    m_chart->addAxis(m_energy, Qt::AlignLeft);
    m_bars->attachAxis(m_days);
    m_bars->attachAxis(m_energy);
    m_view.setChart(m_chart);
    connect(&m_view, &ZoomChartView::zoomResetRequested, this, &MonthChart::setRanges);
}

void MonthChart::show(const QString& title, int year, int month, const MonthEnergyRead& energy) {
    m_chart->setTitle(title);
    const int days = QDate(year, month, 1).daysInMonth();
    QList<qreal> solar(days, 0);
    QList<qreal> line(days, 0);
    for (const DayEnergyBar& bar : energy.days) {
        if (bar.day >= 1 && bar.day <= days) {
            solar[bar.day - 1] = bar.solar;
            line[bar.day - 1] = bar.line;
        }
    }
    m_solar->remove(0, m_solar->count());
    m_line->remove(0, m_line->count());
    m_solar->append(solar);
    m_line->append(line);
    QStringList names;
    for (int day = 1; day <= days; ++day) {
        names << QString::number(day);
    }
    m_days->setCategories(names);
    setRanges();
    const char* why = !energy.problem.empty() ? energy.problem.c_str()
                      : energy.days.empty()   ? "No energy was logged in this month."
                                              : "";
    m_view.setNote(QString::fromUtf8(why));
}

void MonthChart::setRanges() {
    const QStringList names = m_days->categories();
    if (!names.isEmpty()) {
        m_days->setRange(names.front(), names.back());
    }
    double highest = 0;
    for (const QBarSet* set : {m_solar, m_line}) {
        for (int i = 0; i < set->count(); ++i) {
            highest = std::max(highest, set->at(i));
        }
    }
    m_energy->setRange(0, std::max(highest * 1.05, kLeastEnergy));
    m_energy->applyNiceNumbers();
}

}  // namespace brevanto
