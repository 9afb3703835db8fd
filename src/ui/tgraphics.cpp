#include "ui/tgraphics.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

#include "charts/dayseries.h"
#include "charts/logcalendar.h"
#include "charts/monthenergy.h"
#include "store/logtree.h"
#include "ui/amethyststyle.h"
#include "ui/daychart.h"
#include "ui/monthchart.h"
#include "ui/zoomchartview.h"
#include "ui_tgraphics.h"

namespace brevanto {

namespace {

constexpr int kTodayItem = 0;
constexpr int kDayPart = 0;

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

QDate qdate(const LocalDate& date) {
    return {date.year, date.month, date.day};
}

LocalDate localDate(const QDate& date) {
    return {date.year(), date.month(), date.day()};
}

QString monthTitle(const QDate& month) {
    return QLocale(QLocale::English).standaloneMonthName(month.month()) + QLatin1Char(' ') +
           QString::number(month.year());
}

}  // namespace

TGraphics::TGraphics(Hub& hub, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      m_ui(std::make_unique<Ui::TGraphics>()),
      m_hub(hub),
      m_prompts(prompts) {
    m_ui->setupUi(this);
    repolishRoles(*this);
    m_ui->DayChart->findChild<QWidget*>(QStringLiteral("Note"))
        ->setObjectName(QStringLiteral("DayNote"));
    m_ui->MonthChart->findChild<QWidget*>(QStringLiteral("Note"))
        ->setObjectName(QStringLiteral("MonthNote"));
    m_dayChart = new DayChart(*m_ui->DayChart, m_hub.todaysCurves());
    m_monthChart = new MonthChart(*m_ui->MonthChart);
    m_today = m_hub.today();
    m_ui->MonthPicker->setMaximumDate(qdate(m_today));
    m_ui->MonthPicker->setDate(qdate(m_today));
    connectControls();
    m_todaySubscription = m_hub.todaysCurves().addChangeListener([this] { followToday(); });
}

TGraphics::~TGraphics() = default;

void TGraphics::connectControls() {
    connect(m_ui->DayPicker, &QComboBox::currentIndexChanged, this, &TGraphics::showPickedDay);
    connect(m_ui->MonthPicker, &QDateEdit::dateChanged, this, &TGraphics::showPickedMonth);
    connect(m_ui->ResetZoom, &QPushButton::clicked, this, [this] { shownChart().resetZoom(); });
    connect(m_ui->SavePng, &QPushButton::clicked, this, &TGraphics::askAndSavePng);
}

// Every show: the days that have a log now, with today first; the day and
// month shown read again, since both may have grown while the window was away.
void TGraphics::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fillDayPicker();
    showPickedDay();
    showPickedMonth();
}

void TGraphics::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_dayChart->setFollowing(false);
}

void TGraphics::fillDayPicker() {
    const std::optional<LocalDate> picked = pickedDay();
    m_today = m_hub.today();
    QComboBox& picker = *m_ui->DayPicker;
    const QSignalBlocker quiet(picker);
    picker.clear();
    picker.addItem(text(m_hub.format().formatDate(m_today)) + QStringLiteral(" (today)"),
                   qdate(m_today));
    const std::vector<LocalDate> days = daysWithBasicLog(m_hub.workingDirectory());
    for (auto day = days.rbegin(); day != days.rend(); ++day) {
        if (*day < m_today) {
            picker.addItem(text(m_hub.format().formatDate(*day)), qdate(*day));
        }
    }
    const int again = picked && *picked < m_today ? picker.findData(qdate(*picked)) : kTodayItem;
    picker.setCurrentIndex(std::max(again, kTodayItem));
    m_ui->MonthPicker->setMaximumDate(qdate(m_today));
}

std::optional<LocalDate> TGraphics::pickedDay() const {
    const QVariant data = m_ui->DayPicker->currentData();
    if (!data.isValid()) {
        return std::nullopt;
    }
    return localDate(data.toDate());
}

void TGraphics::showPickedDay() {
    const std::optional<LocalDate> day = pickedDay();
    if (!day) {
        return;
    }
    const QString title = text(m_hub.format().formatDate(*day));
    const bool today = m_ui->DayPicker->currentIndex() == kTodayItem;
    m_dayChart->setFollowing(today && isVisible());
    if (today) {
        m_dayChart->showToday(title);
        return;
    }
    m_dayChart->showDay(title, readDaySeries(m_hub.workingDirectory() / basicLogFile(*day)));
}

void TGraphics::showPickedMonth() {
    const QDate month = m_ui->MonthPicker->date();
    const MonthEnergyRead energy =
        readMonthEnergy(m_hub.workingDirectory() / energyLogFile(month.year(), month.month()),
                        m_hub.format(), month.year(), month.month());
    m_monthChart->show(monthTitle(month), month.year(), month.month(), energy);
}

// A new day empties today's curves: the picker names the new today first.
void TGraphics::followToday() {
    if (!isVisible()) {
        return;
    }
    if (m_hub.today() != m_today) {
        fillDayPicker();
        showPickedDay();
        return;
    }
    m_dayChart->todayChanged();
}

ZoomChartView& TGraphics::shownChart() {
    return m_ui->Parts->currentIndex() == kDayPart ? *m_ui->DayChart : *m_ui->MonthChart;
}

bool TGraphics::saveChartAsPng(const QString& path) {
    return shownChart().grab().save(path, "PNG");
}

void TGraphics::askAndSavePng() {
    const bool day = m_ui->Parts->currentIndex() == kDayPart;
    const LocalDate shown =
        day ? pickedDay().value_or(m_today) : localDate(m_ui->MonthPicker->date());
    const std::string name = day ? "Day_" + dayMonthYear(shown) : "Month_" + monthYear(shown);
    const QString suggested = text((m_hub.workingDirectory() / (name + ".png")).string());
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save as PNG"), suggested, QStringLiteral("PNG images (*.png)"));
    if (path.isEmpty()) {
        return;
    }
    if (!saveChartAsPng(path)) {
        m_prompts.showWarning("The chart could not be saved as " + path.toStdString());
    }
}

}  // namespace brevanto
