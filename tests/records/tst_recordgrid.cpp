// The record grid's operations, and how its Qt model and view show it: the heading row and the
// number column become the headers, cell texts are shown exactly as stored, colours only where set,
// and a screen reader sees the same headings and cells.

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QBrush>
#include <QTest>

#include <climits>

#include "records/recordgrid.h"
#include "records/recordgridmodel.h"
#include "records/recordgridview.h"

namespace {

// Fills every cell with "r,c" so that moved rows can be told apart.
void fillCoordinates(RecordGrid& grid) {
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c)
            grid.setTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
}

// The first-column texts of every row, the quickest picture of which rows remain.
QStringList rowTags(const RecordGrid& grid) {
    QStringList tags;
    for (int r = 0; r < grid.rows(); ++r) tags << grid.textMatrix(r, 0);
    return tags;
}

}  // namespace

class TestRecordGrid : public QObject {
    Q_OBJECT

  private slots:
    void addItem();
    void removeItem_data();
    void removeItem();
    void setRows_data();
    void setRows();
    void colourOneCell();
    void outOfRange();
    void modelMapping();
    void modelColours();
    void modelShowsExactText();
    void modelFollowsGridChanges();
    void accessibleHeadingsAndCells();
};

void TestRecordGrid::addItem() {
    RecordGrid grid(2, 13);
    fillCoordinates(grid);
    grid.addItem();
    QCOMPARE(grid.rows(), 3);
    QCOMPARE(rowTags(grid), (QStringList{"0,0", "1,0", ""}));
    for (int c = 0; c < grid.cols(); ++c) {
        QVERIFY(grid.textMatrix(2, c).isEmpty());
        QCOMPARE(grid.textMatrix(1, c), QStringLiteral("1,%1").arg(c));
    }
}

void TestRecordGrid::removeItem_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("remaining");

    QTest::newRow("middle row") << 2 << QStringList{"0,0", "1,0", "3,0", "4,0"};
    QTest::newRow("first record row") << 1 << QStringList{"0,0", "2,0", "3,0", "4,0"};
    QTest::newRow("last row") << 4 << QStringList{"0,0", "1,0", "2,0", "3,0"};
    QTest::newRow("negative row is ignored")
        << -1 << QStringList{"0,0", "1,0", "2,0", "3,0", "4,0"};
    QTest::newRow("row past the end is ignored")
        << 5 << QStringList{"0,0", "1,0", "2,0", "3,0", "4,0"};
}

void TestRecordGrid::removeItem() {
    QFETCH(int, row);
    QFETCH(QStringList, remaining);
    RecordGrid grid(5, 12);
    fillCoordinates(grid);
    grid.removeItem(row);
    QCOMPARE(rowTags(grid), remaining);
    // The moved rows keep every cell, not just the first.
    for (int r = 0; r < grid.rows(); ++r)
        QCOMPARE(grid.textMatrix(r, 11),
                 remaining.at(r).section(u',', 0, 0) + QStringLiteral(",11"));
}

void TestRecordGrid::setRows_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("tags");

    QTest::newRow("5 to 4 drops row 4 only") << 4 << QStringList{"0,0", "1,0", "2,0", "3,0"};
    QTest::newRow("5 to 5 changes nothing") << 5 << QStringList{"0,0", "1,0", "2,0", "3,0", "4,0"};
    QTest::newRow("5 to 7 appends empty rows")
        << 7 << QStringList{"0,0", "1,0", "2,0", "3,0", "4,0", "", ""};
    QTest::newRow("5 to 1 keeps the headings") << 1 << QStringList{"0,0"};
    QTest::newRow("negative count is no count") << -3 << QStringList{};
}

void TestRecordGrid::setRows() {
    QFETCH(int, rows);
    QFETCH(QStringList, tags);
    RecordGrid grid(5, 13);
    fillCoordinates(grid);
    grid.setRow(2);
    grid.setCol(3);
    grid.setCellBackColor(RecordGrid::kYellow);
    grid.setRows(rows);
    QCOMPARE(rowTags(grid), tags);
    if (grid.rows() > 2) QCOMPARE(grid.cellBackColor(2, 3), RecordGrid::kYellow);
    if (grid.rows() > 5) QCOMPARE(grid.cellBackColor(5, 3), RecordGrid::kDefaultColour);
}

void TestRecordGrid::colourOneCell() {
    RecordGrid grid(4, 13);
    grid.setRow(2);
    grid.setCol(11);
    grid.setCellBackColor(RecordGrid::kYellow);
    grid.setCellForeColor(RecordGrid::kRed);
    grid.setRow(1);
    grid.setCol(0);
    grid.setCellBackColor(RecordGrid::kHighlight);
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            const bool target = r == 2 && c == 11;
            const bool number = r == 1 && c == 0;
            QCOMPARE(grid.cellBackColor(r, c), target   ? RecordGrid::kYellow
                                               : number ? RecordGrid::kHighlight
                                                        : RecordGrid::kDefaultColour);
            QCOMPARE(grid.cellForeColor(r, c),
                     target ? RecordGrid::kRed : RecordGrid::kDefaultColour);
        }
    }
    // Setting the default colour again clears the cell.
    grid.setRow(2);
    grid.setCol(11);
    grid.setCellBackColor(RecordGrid::kDefaultColour);
    QCOMPARE(grid.cellBackColor(2, 11), RecordGrid::kDefaultColour);
    QCOMPARE(grid.cellForeColor(2, 11), RecordGrid::kRed);
}

void TestRecordGrid::outOfRange() {
    RecordGrid grid(2, 13);
    fillCoordinates(grid);
    const QList<QPoint> outside = {{-1, 0}, {0, -1}, {2, 0}, {0, 13}, {INT_MAX, INT_MAX}};
    for (const QPoint& p : outside) {
        QVERIFY(grid.textMatrix(p.x(), p.y()).isEmpty());
        grid.setTextMatrix(p.x(), p.y(), QStringLiteral("x"));
        QCOMPARE(grid.cellBackColor(p.x(), p.y()), RecordGrid::kDefaultColour);
        grid.setRow(p.x());
        grid.setCol(p.y());
        grid.setCellBackColor(RecordGrid::kYellow);
        grid.setCellForeColor(RecordGrid::kRed);
    }
    grid.setColWidth(-1, 900);
    grid.setColWidth(13, 900);
    QCOMPARE(grid.colWidth(13), RecordGrid::kDefaultWidth);
    QCOMPARE(grid.rows(), 2);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 13; ++c) {
            QCOMPARE(grid.textMatrix(r, c), QStringLiteral("%1,%2").arg(r).arg(c));
            QCOMPARE(grid.cellBackColor(r, c), RecordGrid::kDefaultColour);
            QCOMPARE(grid.cellForeColor(r, c), RecordGrid::kDefaultColour);
        }
    }
    RecordGrid empty(0, 0);
    empty.addItem();
    empty.removeItem(0);
    empty.removeItem(0);
    QCOMPARE(empty.rows(), 0);
}

void TestRecordGrid::modelMapping() {
    RecordGrid grid(4, 13);
    fillCoordinates(grid);
    RecordGridModel model(grid);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 12);
    for (int i = 0; i < model.rowCount(); ++i) {
        QCOMPARE(model.headerData(i, Qt::Vertical, Qt::DisplayRole).toString(),
                 QStringLiteral("%1,0").arg(i + 1));
        for (int j = 0; j < model.columnCount(); ++j)
            QCOMPARE(model.index(i, j).data().toString(),
                     QStringLiteral("%1,%2").arg(i + 1).arg(j + 1));
    }
    for (int j = 0; j < model.columnCount(); ++j)
        QCOMPARE(model.headerData(j, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("0,%1").arg(j + 1));
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
}

void TestRecordGrid::modelColours() {
    RecordGrid grid(3, 13);
    RecordGridModel model(grid);
    grid.setRow(1);
    grid.setCol(5);
    grid.setCellBackColor(RecordGrid::kYellow);
    grid.setCellForeColor(RecordGrid::kRed);
    const QModelIndex coloured = model.index(0, 4);
    QCOMPARE(coloured.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::yellow));
    QCOMPARE(coloured.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
    for (const QModelIndex& plain : {model.index(0, 3), model.index(0, 5), model.index(1, 4)}) {
        QVERIFY(!plain.data(Qt::BackgroundRole).isValid());
        QVERIFY(!plain.data(Qt::ForegroundRole).isValid());
    }
    const QBrush highlight = RecordGridModel::brushFor(RecordGrid::kHighlight, QPalette());
    QCOMPARE(highlight, QPalette().brush(QPalette::Active, QPalette::Highlight));
    QCOMPARE(RecordGridModel::brushFor(0x00FF0000, QPalette()).color(), QColor(0, 0, 255));
}

void TestRecordGrid::modelShowsExactText() {
    RecordGrid grid(3, 13);
    RecordGridModel model(grid);
    const QStringList texts = {"<b>x</b>", "<img src=a.png>", "a&amp;b", " 两端 空格 ", "到期"};
    for (const QString& text : texts) {
        grid.setTextMatrix(1, 10, text);
        grid.setTextMatrix(0, 10, text);
        QCOMPARE(model.index(0, 9).data(Qt::DisplayRole).toString(), text);
        QCOMPARE(model.headerData(9, Qt::Horizontal, Qt::DisplayRole).toString(), text);
    }
}

void TestRecordGrid::modelFollowsGridChanges() {
    RecordGrid grid(2, 13);
    RecordGridModel model(grid);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.addItem();
    grid.addItem();
    grid.setTextMatrix(1, 1, QStringLiteral("a"));
    grid.setTextMatrix(0, 1, QStringLiteral("工程部位"));
    grid.setTextMatrix(2, 0, QStringLiteral("2"));
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("a"));
    grid.removeItem(1);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("2"));
    {
        RecordGrid::BulkUpdate bulk(grid);
        for (int i = 0; i < 50; ++i) grid.addItem();
        grid.setTextMatrix(40, 3, QStringLiteral("b"));
    }
    QCOMPARE(model.rowCount(), 52);
    QCOMPARE(model.index(39, 2).data().toString(), QStringLiteral("b"));
    grid.setRows(1);
    QCOMPARE(model.rowCount(), 0);
    grid.setRows(0);
    grid.setRows(3);
    QCOMPARE(model.rowCount(), 2);
}

void TestRecordGrid::accessibleHeadingsAndCells() {
    RecordGrid grid(4, 13);
    const QStringList headings = {"编号", "工程部位", "强度等级(C)"};
    for (int c = 0; c < headings.size(); ++c) grid.setTextMatrix(0, c, headings.at(c));
    grid.setTextMatrix(1, 0, QStringLiteral("1"));
    grid.setTextMatrix(2, 0, QStringLiteral("2"));
    grid.setTextMatrix(1, 1, QStringLiteral("3号楼三层柱"));
    grid.setTextMatrix(2, 2, QStringLiteral("<b>C30</b>"));
    RecordGridModel model(grid);
    RecordGridView view(&model);
    view.resize(800, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&view);
    QVERIFY(iface);
    QAccessibleTableInterface* table = iface->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->columnCount(), 12);
    QCOMPARE(table->columnDescription(0), headings.at(1));
    QCOMPARE(table->rowDescription(1), QStringLiteral("2"));

    auto cellText = [&](int r, int c) {
        QAccessibleInterface* cell = table->cellAt(r, c);
        return cell ? cell->text(QAccessible::Name) : QStringLiteral("<no cell>");
    };
    QCOMPARE(cellText(0, 0), QStringLiteral("3号楼三层柱"));
    QCOMPARE(cellText(1, 1), QStringLiteral("<b>C30</b>"));
    QCOMPARE(cellText(2, 11), QString());

    QAccessibleInterface* cell = table->cellAt(1, 1);
    QVERIFY(cell);
    QAccessibleTableCellInterface* cellIface = cell->tableCellInterface();
    QVERIFY(cellIface);
    const QList<QAccessibleInterface*> columnHeads = cellIface->columnHeaderCells();
    QCOMPARE(columnHeads.size(), 1);
    QCOMPARE(columnHeads.first()->text(QAccessible::Name), headings.at(2));
    const QList<QAccessibleInterface*> rowHeads = cellIface->rowHeaderCells();
    QCOMPARE(rowHeads.size(), 1);
    QCOMPARE(rowHeads.first()->text(QAccessible::Name), QStringLiteral("2"));
}

QTEST_MAIN(TestRecordGrid)
#include "tst_recordgrid.moc"
