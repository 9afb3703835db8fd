// The chart window over a fixture's working folder: an earlier day's basic
// log and the month's energy log as the program writes them, today's rows
// as the sampling adds them, and files that do not read.
#include "ui/tgraphics.h"

#include <QBarSet>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLineSeries>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QValueAxis>

#include "charts/logcalendar.h"
#include "formfixture.h"
#include "ui/daychart.h"
#include "ui/monthchart.h"
#include "ui/zoomchartview.h"

namespace brevanto {
namespace {

// The fixture's clock stands on 07.03.2015.
constexpr LocalDate kEarlierDay{2015, 3, 5};

// A basic log row: the time, then the fifteen readings; PV 52.4 V at 1.2 A,
// the battery at 26.8 V and 100 %, 368 W out.
std::string basicRow(const std::string& time) {
    return time + ",230.1,49.9,52.4,1.2,26.8,100,2,0,50.0,230.0,460,368,9,38,380\r\n";
}

class TGraphicsTest : public testing::FormFixture {
protected:
    void open() {
        create();
        graphics = std::make_unique<TGraphics>(*hub, prompts);
        graphics->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(graphics.get()));
    }
    void writeLog(const std::filesystem::path& relative, const std::string& bytes) {
        std::filesystem::create_directories((dir.path() / relative).parent_path());
        testing::writeFile(dir.path() / relative, bytes);
    }
    template <typename Widget>
    Widget* part(const char* name) {
        auto* widget = graphics->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString note(const char* chart) { return part<ZoomChartView>(chart)->note(); }
    QLineSeries& curve(DayCurve which) { return graphics->dayChart().series(which); }
    void pickMonth(int year, int month) {
        part<QDateEdit>("MonthPicker")->setDate(QDate(year, month, 1));
    }

    std::unique_ptr<TGraphics> graphics;
};

TEST_F(TGraphicsTest, ShowsTodayFirstThenAnEarlierDaysCurvesAndTheMonthsBars) {
    writeLog(basicLogFile(kEarlierDay), basicRow("10:00:00") + basicRow("10:00:01"));
    writeLog(energyLogFile(2015, 3),
             "05.03.2015,4.100,1.000,0.800,100.000,50.000\r\n"
             "06.03.2015,3.250,1.500,1.200,103.250,51.200\r\n");
    open();
    EXPECT_EQ(graphics->windowTitle(), QStringLiteral("Graphics"));
    EXPECT_EQ(graphics->windowType(), Qt::Tool);
    auto* days = part<QComboBox>("DayPicker");
    ASSERT_EQ(days->count(), 2);
    EXPECT_EQ(days->currentIndex(), 0);
    EXPECT_EQ(days->itemText(1), QStringLiteral("05.03.2015"));
    EXPECT_EQ(note("DayChart"), QStringLiteral("No readings for this day yet."));

    days->setCurrentIndex(1);
    EXPECT_EQ(note("DayChart"), QString());
    ASSERT_EQ(curve(DayCurve::PvPower).count(), 2);
    EXPECT_EQ(curve(DayCurve::PvPower).at(1), QPointF(36001, 52.4f * 1.2f));
    EXPECT_EQ(curve(DayCurve::BatteryCapacity).at(0), QPointF(36000, 100));
    EXPECT_EQ(curve(DayCurve::OutputActivePower).at(0).y(), 368);

    part<QTabWidget>("Parts")->setCurrentIndex(1);
    EXPECT_EQ(note("MonthChart"), QString());
    QBarSet& solar = graphics->monthChart().solar();
    ASSERT_EQ(solar.count(), 31);
    EXPECT_DOUBLE_EQ(solar.at(4), 4.1);
    EXPECT_DOUBLE_EQ(graphics->monthChart().line().at(5), 1.2) << "the active line energy";
    EXPECT_DOUBLE_EQ(solar.at(6), 0);
    pickMonth(2015, 2);
    EXPECT_EQ(note("MonthChart"), QStringLiteral("No energy was logged in this month."));
    EXPECT_EQ(solar.count(), 28);
    EXPECT_DOUBLE_EQ(solar.at(4), 0);
}

TEST_F(TGraphicsTest, SavesTheChartShownAsAPng) {
    open();
    for (const int shown : {0, 1}) {
        part<QTabWidget>("Parts")->setCurrentIndex(shown);
        const auto file = dir / ("chart" + std::to_string(shown) + ".png");
        ASSERT_TRUE(graphics->saveChartAsPng(QString::fromStdString(file.string()))) << shown;
        EXPECT_EQ(testing::readFile(file).substr(0, 8), "\x89PNG\r\n\x1a\n");
        const QImage image(QString::fromStdString(file.string()), "PNG");
        const QWidget* chart = part<QWidget>(shown == 0 ? "DayChart" : "MonthChart");
        EXPECT_EQ(image.size(), chart->size() * chart->devicePixelRatio()) << shown;
        EXPECT_GT(image.width(), 400) << shown;
    }
    EXPECT_FALSE(graphics->saveChartAsPng(QString::fromStdString((dir / "none/x.png").string())));
}

// Oversized files stand for those that cannot be read: the tests may run as
// root, whom no permission keeps out. The holes cost no disk.
TEST_F(TGraphicsTest, AFileThatDoesNotReadLeavesAnEmptyChartThatSaysWhy) {
    const struct {
        const char* bytes;
        std::uintmax_t size;
        const char* dayNote;
    } cases[] = {
        {"10:00", 0, "The day's log file holds no readings."},
        {"", (std::uintmax_t{1} << 30) + 1, "The day's log file cannot be read."},
    };
    create();
    for (const auto& each : cases) {
        SCOPED_TRACE(each.dayNote);
        writeLog(basicLogFile(kEarlierDay), each.bytes);
        writeLog(energyLogFile(2015, 3), "");
        if (each.size > 0) {
            std::filesystem::resize_file(dir.path() / basicLogFile(kEarlierDay), each.size);
            std::filesystem::resize_file(dir.path() / energyLogFile(2015, 3), each.size);
        }
        graphics = std::make_unique<TGraphics>(*hub, prompts);
        graphics->show();
        part<QComboBox>("DayPicker")->setCurrentIndex(1);
        EXPECT_EQ(note("DayChart"), QString::fromLatin1(each.dayNote));
        EXPECT_EQ(curve(DayCurve::PvPower).count(), 0);
        EXPECT_EQ(note("MonthChart"), each.size > 0
                                          ? QStringLiteral("The month's energy log cannot be read.")
                                          : QStringLiteral("No energy was logged in this month."));
    }
}

TEST_F(TGraphicsTest, TodaysCurvesFollowTheRowsAsTheyComeAndRedrawOnceForABurst) {
    open();
    QSignalSpy redraws(&curve(DayCurve::PvPower), &QXYSeries::pointsReplaced);
    const std::vector<std::string> values = {"230.1", "49.9", "52.4", "1.2",  "26.8",
                                             "100",   "2",    "0",    "50.0", "230.0",
                                             "460",   "368",  "9",    "38",   "380"};
    DayLog& basic = hub->dailyData().basic();
    basic.addRow("14:02:11", "07.03.2015", values);
    ASSERT_TRUE(spinUntil([&] { return curve(DayCurve::PvPower).count() == 1; }));
    EXPECT_EQ(note("DayChart"), QString());
    EXPECT_EQ(redraws.count(), 1);

    for (const char* time : {"14:02:12", "14:02:13", "14:02:14"}) {
        basic.addRow(time, "07.03.2015", values);
    }
    ASSERT_TRUE(spinUntil([&] { return curve(DayCurve::PvPower).count() == 4; }));
    EXPECT_EQ(curve(DayCurve::BatteryVoltage).at(3), QPointF(14 * 3600 + 2 * 60 + 14, 26.8f));
    EXPECT_EQ(redraws.count(), 2);
}

// A sample a second for the whole day, with one spike of 6 kW at noon.
TEST_F(TGraphicsTest, ADayOfSecondsKeepsItsSpikeAndTheMouseZoomsPansAndGoesBack) {
    std::string day;
    for (int second = 0; second < 86400; ++second) {
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", second / 3600, second / 60 % 60,
                      second % 60);
        day += second == 43200 ? std::string(time) +
                                     ",230,50,60.0,100.0,26.8,100,2,0,50,230,460,368,9,38,380\r\n"
                               : basicRow(time);
    }
    writeLog(basicLogFile(kEarlierDay), day);
    open();
    part<QComboBox>("DayPicker")->setCurrentIndex(1);
    QLineSeries& pv = curve(DayCurve::PvPower);
    EXPECT_LE(pv.count(), 4 * DayChart::kColumns);
    qreal highest = 0;
    for (const QPointF& point : pv.points()) {
        highest = std::max(highest, point.y());
    }
    EXPECT_EQ(highest, 6000);

    auto* view = part<ZoomChartView>("DayChart");
    auto* time = qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Horizontal).front());
    const QRectF plot = view->chart()->plotArea();
    const QPoint from = plot.topLeft().toPoint() + QPoint(plot.width() / 4, 10);
    const QPoint to = from + QPoint(plot.width() / 2, plot.height() / 2);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    EXPECT_NEAR(time->min(), 6 * 3600, 600);
    EXPECT_NEAR(time->max(), 18 * 3600, 600);
    ASSERT_TRUE(spinUntil([&] { return pv.at(0).x() >= time->min() - 1; }))
        << "the points of the zoomed stretch only";

    const double before = time->min();
    QTest::mousePress(view->viewport(), Qt::RightButton, {}, to);
    QTest::mouseMove(view->viewport(), to + QPoint(100, 0));
    QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, to + QPoint(100, 0));
    EXPECT_LT(time->min(), before) << "dragged right, the earlier hours come in";

    const QPointF middle = plot.center();
    QWheelEvent notch(middle, view->viewport()->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    const double span = time->max() - time->min();
    QApplication::sendEvent(view->viewport(), &notch);
    EXPECT_LT(time->max() - time->min(), span * 0.9);

    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, middle.toPoint());
    EXPECT_EQ(time->min(), 0);
    EXPECT_EQ(time->max(), 86400);
    ASSERT_TRUE(spinUntil([&] { return pv.count() > 0 && pv.at(0).x() == 0; }));
}

}  // namespace
}  // namespace brevanto
