// The day charts' time axis: labels at round times of day ("00:00" to
// "24:00"), as close together as the shown stretch of the day allows, so a
// zoom into a few minutes still reads as times and not as seconds.
#pragma once

#include <QCategoryAxis>

namespace brevanto {

class TimeOfDayAxis : public QCategoryAxis {
    Q_OBJECT

public:
    static constexpr double kDaySeconds = 24 * 3600;

    // The whole day at first.
    explicit TimeOfDayAxis(QObject* parent = nullptr);

    // "HH:mm", or "HH:mm:ss" when labels are less than a minute apart.
    static QString label(double seconds, double step);
    // The distance between labels for a stretch of `span` seconds.
    static double step(double span);

private:
    void relabel(qreal min, qreal max);
};

}  // namespace brevanto
