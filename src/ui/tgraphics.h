// The chart window, "View" > "Graphics": the day's curves (today's as they
// grow, or an earlier day's from its basic log) and the month's energy
// bars, each zoomed and panned with the mouse and saved as a PNG image.
// Closing it only hides it; while hidden it follows nothing.
#pragma once

#include <memory>
#include <optional>

#include <QWidget>

#include "hub/hub.h"
#include "platform/listeners.h"
#include "platform/prompts.h"

namespace Ui {
class TGraphics;
}

namespace brevanto {

class DayChart;
class MonthChart;
class ZoomChartView;

class TGraphics : public QWidget {
    Q_OBJECT

public:
    // The hub outlives the window.
    TGraphics(Hub& hub, Prompts& prompts, QWidget* parent = nullptr);
    ~TGraphics() override;

    // The chart of the part shown, as on the screen; false when the file
    // could not be written.
    bool saveChartAsPng(const QString& path);

    DayChart& dayChart() { return *m_dayChart; }
    MonthChart& monthChart() { return *m_monthChart; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void connectControls();
    void fillDayPicker();
    std::optional<LocalDate> pickedDay() const;
    void showPickedDay();
    void showPickedMonth();
    void followToday();
    void askAndSavePng();
    ZoomChartView& shownChart();

    std::unique_ptr<Ui::TGraphics> m_ui;
    Hub& m_hub;
    Prompts& m_prompts;
    DayChart* m_dayChart = nullptr;
    MonthChart* m_monthChart = nullptr;
    // The day the picker calls today, to see the day change.
    LocalDate m_today;
    Subscription m_todaySubscription;
};

}  // namespace brevanto
