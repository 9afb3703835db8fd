#include "ui/timeofdayaxis.h"

#include <cmath>

namespace brevanto {

namespace {

// Labels wider apart than this many would crowd a narrow window.
constexpr double kMostGaps = 8;
constexpr double kSteps[] = {1,   2,   5,    10,   15,   30,    60,    120,  300,
                             600, 900, 1800, 3600, 7200, 10800, 21600, 43200};

}  // namespace

TimeOfDayAxis::TimeOfDayAxis(QObject* parent) : QCategoryAxis(parent) {
    setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    connect(this, &QValueAxis::rangeChanged, this, &TimeOfDayAxis::relabel);
    setRange(0, kDaySeconds);
    relabel(0, kDaySeconds);
}

double TimeOfDayAxis::step(double span) {
    for (const double candidate : kSteps) {
        if (span / candidate <= kMostGaps) {
            return candidate;
        }
    }
    return kSteps[std::size(kSteps) - 1];
}

QString TimeOfDayAxis::label(double seconds, double step) {
    const int whole = static_cast<int>(std::lround(seconds));
    const QString hours = QStringLiteral("%1").arg(whole / 3600, 2, 10, QLatin1Char('0'));
    const QString minutes = QStringLiteral("%1").arg(whole / 60 % 60, 2, 10, QLatin1Char('0'));
    if (step >= 60) {
        return hours + QLatin1Char(':') + minutes;
    }
    return hours + QLatin1Char(':') + minutes + QLatin1Char(':') +
           QStringLiteral("%1").arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// The categories are only where the labels go: one per round time shown.
void TimeOfDayAxis::relabel(qreal min, qreal max) {
    for (const QString& old : categoriesLabels()) {
        remove(old);
    }
    const double gap = step(max - min);
    const double first = std::ceil(min / gap) * gap;
    setStartValue(first - gap);
    for (double at = first; at <= max + gap / 1000; at += gap) {
        // Panned past either end of the day: no times that do not exist.
        if (at >= 0 && at <= kDaySeconds) {
            append(label(at, gap), at);
        }
    }
}

}  // namespace brevanto
