// The log viewers under the offscreen platform: each one's form over the
// program's table, the table's changes in the window, the title row kept
// over the body, and the main window's commands that bring them up.
#include <QAction>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "formfixture.h"
#include "support/waituntil.h"
#include "ui/tcomputedlist.h"
#include "ui/tlistenergy.h"
#include "ui/tvariableslist.h"

namespace brevanto {
namespace {

using testing::FormFixture;

template <typename Widget>
Widget* child(QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}
QTableView* nameGrid(QWidget& window) {
    return child<QTableView>(window, "NameGrid");
}
QTableView* grid(QWidget& window) {
    return child<QTableView>(window, "Grid");
}
QString shown(QTableView* view, int row, int column, int role = Qt::DisplayRole) {
    return view->model()->index(row, column).data(role).toString();
}
// Where a column starts on the screen, so the title's and the cell's compare.
int screenLeft(QTableView* view, int column) {
    return view->viewport()->mapToGlobal(QPoint(view->columnViewportPosition(column), 0)).x();
}

bool spinUntil(const std::function<bool()>& done) {
    return testing::waitUntil(done, [] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        testing::pauseBriefly();
    });
}

// Shown as the program shows it, style sheet and all.
void showInTheProgramsStyle(QWidget& window) {
    window.setStyleSheet(testing::amethystSheet());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

struct Viewer {
    const char* caption;
    QSize client;
    int columns;
    int columnWidth;
    LogTable& (*table)(DailyData&);
    std::unique_ptr<QWidget> (*make)(LogTable&);
};

const Viewer kViewers[] = {
    {"VariablesList",
     {925, 549},
     16,
     55,
     [](DailyData& d) -> LogTable& { return d.basic().table(); },
     [](LogTable& t) -> std::unique_ptr<QWidget> { return std::make_unique<TVariablesList>(t); }},
    {"ComputedList",
     {605, 677},
     7,
     80,
     [](DailyData& d) -> LogTable& { return d.computed().table(); },
     [](LogTable& t) -> std::unique_ptr<QWidget> { return std::make_unique<TComputedList>(t); }},
    {"ListEnergy",
     {455, 626},
     6,
     80,
     [](DailyData& d) -> LogTable& { return d.energy().table(); },
     [](LogTable& t) -> std::unique_ptr<QWidget> { return std::make_unique<TListEnergy>(t); }},
};

TEST_F(FormFixture, EachViewerShowsItsTableInItsOwnForm) {
    create();
    for (const Viewer& viewer : kViewers) {
        SCOPED_TRACE(viewer.caption);
        const std::unique_ptr<QWidget> window = viewer.make(viewer.table(hub->dailyData()));
        EXPECT_EQ(window->windowTitle(), QString::fromLatin1(viewer.caption));
        EXPECT_EQ(window->size(), viewer.client);
        EXPECT_EQ(window->windowType(), Qt::Tool);
        EXPECT_EQ(child<QLabel>(*window, "Label1")->text(), QStringLiteral("Lines = 0"));
        for (QTableView* view : {nameGrid(*window), grid(*window)}) {
            EXPECT_EQ(view->model()->columnCount(), viewer.columns);
            EXPECT_EQ(view->model()->rowCount(), 1);
            EXPECT_EQ(view->columnWidth(viewer.columns - 1), viewer.columnWidth);
            EXPECT_TRUE(view->horizontalHeader()->isHidden());
            EXPECT_TRUE(view->verticalHeader()->isHidden());
        }
        EXPECT_EQ(grid(*window)->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
}

TEST_F(FormFixture, TheViewCommandsBringUpTheirViewersAndWaitForThem) {
    create();
    const char* commands[] = {"BasicVariables", "ComputedVariables", "Energy"};
    std::vector<std::unique_ptr<QWidget>> windows;
    for (const Viewer& viewer : kViewers) {
        windows.push_back(viewer.make(viewer.table(hub->dailyData())));
    }
    for (const char* command : commands) {
        EXPECT_FALSE(control<QAction>(command)->isEnabled()) << command;
    }
    form->setLogViewers(windows[0].get(), windows[1].get(), windows[2].get());
    for (std::size_t i = 0; i < std::size(commands); ++i) {
        control<QAction>(commands[i])->trigger();
        for (std::size_t k = 0; k < windows.size(); ++k) {
            EXPECT_EQ(windows[k]->isVisible(), k <= i) << commands[i] << " " << k;
        }
    }
    form->setLogViewers(nullptr, nullptr, nullptr);
    for (const char* command : commands) {
        EXPECT_FALSE(control<QAction>(command)->isEnabled()) << command;
    }
}

TEST(LogViewer, FollowsItsTablesCaptionTitlesRowsAndCount) {
    LogTable table(4, "VariablesList");
    TVariablesList window(table);
    table.setTitles({"date", "AC Voltage", "PV Input Voltage"});
    table.setCaption("Day = 07.03.2015");
    table.rows().addRow({"14:02:11", "230.1", "52.4", "1.2"});
    table.setCount(2);

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Day = 07.03.2015"));
    EXPECT_EQ(child<QLabel>(window, "Label1")->text(), QStringLiteral("Lines = 2"));
    const char* titles[] = {"date", "AC Voltage", "PV Input Voltage", ""};
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(shown(nameGrid(window), 0, column), QString::fromLatin1(titles[column]))
            << column;
    }
    EXPECT_EQ(shown(nameGrid(window), 0, 2, Qt::ToolTipRole), QStringLiteral("PV Input Voltage"));
    EXPECT_EQ(shown(grid(window), 0, 1), QStringLiteral("230.1"));
    EXPECT_EQ(grid(window)->model()->rowCount(), 2);

    // A new day keeps the widths the user gave the columns.
    grid(window)->setColumnWidth(1, 140);
    table.rows().clear(5);
    table.setTitles({"date", "a", "b", "c", "d"});
    for (QTableView* view : {nameGrid(window), grid(window)}) {
        EXPECT_EQ(view->model()->columnCount(), 5);
        EXPECT_EQ(view->columnWidth(1), 140);
        EXPECT_EQ(view->columnWidth(4), 55);
    }
    EXPECT_EQ(shown(nameGrid(window), 0, 4), QStringLiteral("d"));
}

TEST(LogViewer, TheTitlesStayOverTheirColumnsAsTheyAreResizedAndScrolled) {
    LogTable table(16, "VariablesList");
    table.rows().addRow({"14:02:11", "230.1"});
    TVariablesList window(table);
    ASSERT_NO_FATAL_FAILURE(showInTheProgramsStyle(window));
    QTableView* titles = nameGrid(window);
    QTableView* body = grid(window);

    body->setColumnWidth(1, 140);
    EXPECT_EQ(titles->columnWidth(1), 140);
    // The line between the third and fourth title, dragged 30 pixels right.
    const int line = titles->columnViewportPosition(2) + titles->columnWidth(2);
    QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, QPoint(line - 1, 5));
    QTest::mouseMove(titles->viewport(), QPoint(line + 29, 5));
    QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, QPoint(line + 29, 5));
    EXPECT_EQ(body->columnWidth(2), 55 + 30);
    EXPECT_EQ(titles->columnWidth(2), 55 + 30);

    for (int column = 3; column < 16; ++column) {
        body->setColumnWidth(column, 120);
    }
    QScrollBar* bodyBar = body->horizontalScrollBar();
    // Both take their new widths in the same turn of the event loop.
    ASSERT_TRUE(spinUntil(
        [&] { return bodyBar->maximum() > 0 && titles->horizontalScrollBar()->maximum() > 0; }));
    EXPECT_EQ(titles->horizontalScrollBar()->maximum(), bodyBar->maximum());
    for (const int offset : {bodyBar->maximum() / 2, bodyBar->maximum()}) {
        bodyBar->setValue(offset);
        for (int column = 0; column < 16; ++column) {
            EXPECT_EQ(screenLeft(titles, column), screenLeft(body, column)) << column;
        }
    }
}

TEST(LogViewer, BothGridsTakeTheRowHeightOfTheStylesType) {
    LogTable table(7, "ComputedList");
    TComputedList window(table);
    for (const char* size : {"8pt", "20pt"}) {
        window.setStyleSheet(
            QStringLiteral("QTableView { font-size: %1; }").arg(QLatin1String(size)));
        const int rowHeight = grid(window)->rowHeight(0);
        EXPECT_GE(rowHeight, grid(window)->fontMetrics().height()) << size;
        EXPECT_EQ(nameGrid(window)->rowHeight(0), rowHeight) << size;
        EXPECT_GE(nameGrid(window)->viewport()->height(), rowHeight) << size;
    }
}

TEST(LogViewer, ARowAddedWhileTheBottomShowsKeepsItInView) {
    LogTable table(2, "ComputedList");
    for (int i = 0; i < 200; ++i) {
        table.rows().addRow({"14:02:11", std::to_string(i)});
    }
    TComputedList window(table);
    ASSERT_NO_FATAL_FAILURE(showInTheProgramsStyle(window));
    QScrollBar* bar = grid(window)->verticalScrollBar();
    grid(window)->scrollToBottom();
    ASSERT_GT(bar->maximum(), 0);

    const int bottom = bar->maximum();
    table.rows().addRow({"14:02:12", "200"});
    table.changed();
    ASSERT_TRUE(spinUntil([&] { return bar->maximum() > bottom; }));
    EXPECT_EQ(bar->value(), bar->maximum());

    bar->setValue(10);
    table.rows().addRow({"14:02:13", "201"});
    table.changed();
    ASSERT_TRUE(spinUntil([&] { return bar->maximum() > bottom + 1; }));
    EXPECT_EQ(bar->value(), 10);
}

TEST(LogViewer, ClosingOnlyHidesTheWindow) {
    LogTable table(6, "ListEnergy");
    auto* window = new TListEnergy(table);
    QPointer<QWidget> alive(window);
    window->show();
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(alive.isNull());
    EXPECT_FALSE(window->isVisible());
    delete window;
}

// A day in test mode: nothing in the window may be made per row.
TEST(LogViewer, OpensOverADayOfTestModeRows) {
    constexpr int kRows = 432'000;
    LogTable table(16, "VariablesList");
    const std::vector<std::string_view> sample = {
        "14:02:11", "230.1", "49.9",  "52.4", "1.2", "26.8", "100", "2",
        "0",        "50.0",  "230.0", "460",  "368", "9",    "38",  "380"};
    for (int i = 0; i < kRows; ++i) {
        table.rows().addRow(sample);
    }
    table.setCount(kRows);
    TVariablesList window(table);
    ASSERT_NO_FATAL_FAILURE(showInTheProgramsStyle(window));
    QTableView* body = grid(window);
    EXPECT_EQ(body->model()->rowCount(), kRows + 1);
    body->scrollToBottom();
    EXPECT_EQ(body->rowAt(body->viewport()->height() - 1), kRows);
    EXPECT_EQ(shown(body, kRows - 1, 15), QStringLiteral("380"));
    EXPECT_EQ(child<QLabel>(window, "Label1")->text(), QStringLiteral("Lines = 432000"));
}

}  // namespace
}  // namespace brevanto
