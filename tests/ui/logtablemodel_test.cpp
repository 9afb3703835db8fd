// A log table as the grid's model: its cells and the empty row after them,
// the rows it inserts as the table grows, the fresh start when the table
// was emptied, and text in the Windows code page.
#include "ui/logtablemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace brevanto {
namespace {

// The model tester says what it finds wrong in warnings; each one fails.
class ModelChecks {
public:
    explicit ModelChecks(QAbstractItemModel& model)
        : m_previous(qInstallMessageHandler(&record)),
          m_tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning) {
        s_found.clear();
    }
    ~ModelChecks() { qInstallMessageHandler(m_previous); }
    static const QStringList& found() { return s_found; }

private:
    static void record(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg && type != QtInfoMsg) {
            s_found << message;
        }
    }
    static inline QStringList s_found;
    QtMessageHandler m_previous;
    QAbstractItemModelTester m_tester;
};

QString cell(const QAbstractItemModel& model, int row, int column) {
    return model.index(row, column).data().toString();
}

TEST(LogTableModel, ShowsEachCellAndOneEmptyRowAfterTheRows) {
    LogTable table(3, "VariablesList");
    table.rows().addRow({"14:02:11", "230.1", "49.9"});
    table.rows().addRow({"14:02:12", "229.8"});
    LogTableModel model(table);
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 3);
    const char* shown[2][3] = {{"14:02:11", "230.1", "49.9"}, {"14:02:12", "229.8", ""}};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(cell(model, row, column), QString::fromLatin1(shown[row][column]))
                << row << "," << column;
        }
    }
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(cell(model, 2, column), QString()) << column;
    }
}

TEST(LogTableModel, InsertsExactlyTheRowsAddedBeforeTheEmptyRow) {
    LogTable table(2, "ComputedList");
    table.rows().addRow({"14:02:11", "1.5"});
    LogTableModel model(table);
    ModelChecks checks(model);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    table.rows().addRow({"14:02:12", "1.6"});
    table.rows().addRow({"14:02:13", "1.7"});
    table.setCount(3);
    table.setCaption("Day = 07.03.2015");

    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 1);
    EXPECT_EQ(inserted[0][2].toInt(), 2);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(cell(model, 2, 1), QStringLiteral("1.7"));
    EXPECT_EQ(cell(model, 3, 0), QString());
    EXPECT_TRUE(checks.found().isEmpty()) << checks.found().join(u'\n').toStdString();
}

// Emptied and filled again before the model hears of it, the rows are new
// ones, not more of the old; the column count may change with them.
TEST(LogTableModel, StartsOverWhenTheTableWasEmptied) {
    LogTable table(2, "ListEnergy");
    table.rows().addRow({"06/03/2015", "4.210"});
    LogTableModel model(table);
    ModelChecks checks(model);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    table.rows().clear();
    table.rows().addRow({"07/03/2015", "0.120"});
    table.rows().addRow({"07/03/2015", "0.130"});
    table.changed();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(cell(model, 0, 1), QStringLiteral("0.120"));

    table.rows().clear(3);
    table.changed();
    EXPECT_EQ(reset.count(), 2);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_TRUE(checks.found().isEmpty()) << checks.found().join(u'\n').toStdString();
}

TEST(LogTableModel, ShowsUtf8AndWindows1252TextAsItsCharacters) {
    const std::pair<const char*, QString> cases[] = {
        {"230.1", QStringLiteral("230.1")},
        {"Temp \xB0"
         "C",
         QStringLiteral("Temp \u00B0C")},
        {"\x80 0.25", QStringLiteral("\u20AC 0.25")},
        {"Temp \xC2\xB0"
         "C",
         QStringLiteral("Temp \u00B0C")},
    };
    LogTable table(1, "VariablesList");
    for (const auto& [bytes, text] : cases) {
        table.rows().addRow({bytes});
    }
    LogTableModel model(table);
    for (int row = 0; row < static_cast<int>(std::size(cases)); ++row) {
        EXPECT_EQ(cell(model, row, 0), cases[row].second) << cases[row].first;
    }
}

}  // namespace
}  // namespace brevanto
