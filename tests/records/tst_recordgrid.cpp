// The record grid's operations, and how its model and view show it to the eye and a screen reader.

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QBrush>
#include <QHeaderView>
#include <QTest>
#include <QToolTip>

#include <climits>

#include "records/recordgrid.h"
#include "records/recordgridmodel.h"
#include "records/recordgridview.h"

namespace {

constexpr auto kReportFailures = QAbstractItemModelTester::FailureReportingMode::QtTest;

// A grid whose every cell holds "r,c", so that moved rows can be told apart.
RecordGrid coordinateGrid(int rows, int cols) {
    RecordGrid grid(rows, cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.setTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
    return grid;
}

// Each row as "first cell|last cell", or the texts of the cells with a colour.
QStringList rowTags(const RecordGrid& grid, bool coloured = false) {
    QStringList tags;
    for (int r = 0; r < grid.rows(); ++r) {
        if (!coloured) tags << grid.textMatrix(r, 0) + u'|' + grid.textMatrix(r, grid.cols() - 1);
        for (int c = 0; coloured && c < grid.cols(); ++c)
            if (grid.cellBackColor(r, c) || grid.cellForeColor(r, c)) tags << grid.textMatrix(r, c);
    }
    return tags;
}

void colourCell(RecordGrid& grid, int row, int col) {
    grid.setRow(row);
    grid.setCol(col);
    grid.setCellBackColor(RecordGrid::kYellow);
    grid.setCellForeColor(RecordGrid::kRed);
}

}  // namespace

class TestRecordGrid : public QObject {
    Q_OBJECT

  private slots:
    void rowOperations_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("arg");
        QTest::addColumn<QStringList>("tags");
        auto row = [](const char* name, const char* op, int arg, const QStringList& tags) {
            QTest::newRow(name) << QString::fromLatin1(op) << arg << tags;
        };
        const QString a = "0,0|0,12", b = "1,0|1,12", c = "2,0|2,12", d = "3,0|3,12",
                      e = "4,0|4,12";
        row("AddItem on 2 rows", "add", 2, {a, b, "|"});
        row("RemoveItem middle", "remove", 2, {a, b, d, e});
        row("RemoveItem first record", "remove", 1, {a, c, d, e});
        row("RemoveItem last", "remove", 4, {a, b, c, d});
        row("RemoveItem -1 ignored", "remove", -1, {a, b, c, d, e});
        row("RemoveItem past the end ignored", "remove", 5, {a, b, c, d, e});
        row("Rows 5 to 4", "rows", 4, {a, b, c, d});
        row("Rows 5 to 7", "rows", 7, {a, b, c, d, e, "|", "|"});
        row("Rows 5 to 1", "rows", 1, {a});
        row("Rows -3", "rows", -3, {});
    }
    // Rows that stay keep their texts and colours; new rows are empty and uncoloured.
    void rowOperations() {
        QFETCH(QString, op);
        QFETCH(int, arg);
        QFETCH(QStringList, tags);
        RecordGrid grid = coordinateGrid(op == "add" ? arg : 5, 13);
        const int last = grid.rows() - 1;  // coloured in one cell; must move with its row
        colourCell(grid, last, 3);
        if (op == "add") grid.addItem();
        if (op == "remove") grid.removeItem(arg);
        if (op == "rows") grid.setRows(arg);
        QCOMPARE(rowTags(grid), tags);
        const bool kept = tags.contains(QStringLiteral("%1,0|%1,12").arg(last));
        QCOMPARE(rowTags(grid, true),
                 kept ? QStringList{QStringLiteral("%1,3").arg(last)} : QStringList{});
    }

    // Nothing outside the grid is read, written or coloured.
    void outOfRange() {
        RecordGrid grid = coordinateGrid(2, 13);
        for (const QPoint p :
             {QPoint(-1, 0), QPoint(0, -1), QPoint(2, 0), QPoint(0, 13), QPoint(INT_MAX, 1)}) {
            QVERIFY(grid.textMatrix(p.x(), p.y()).isEmpty());
            grid.setTextMatrix(p.x(), p.y(), QStringLiteral("x"));
            colourCell(grid, p.x(), p.y());
            QCOMPARE(grid.cellBackColor(p.x(), p.y()), RecordGrid::kDefaultColour);
        }
        QCOMPARE(rowTags(grid), (QStringList{"0,0|0,12", "1,0|1,12"}));
        QCOMPARE(rowTags(grid, true), QStringList{});
    }

    // Colouring one cell colours that cell only; model cell (i, j) is grid cell (i + 1, j + 1),
    // grid row 0 and column 0 are the headers.
    void modelMapping() {
        RecordGrid grid = coordinateGrid(4, 13);
        colourCell(grid, 2, 5);
        QCOMPARE(rowTags(grid, true), QStringList{"2,5"});
        RecordGridModel model(grid);
        QAbstractItemModelTester tester(&model, kReportFailures);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 12);
        for (int r = 1; r < 4; ++r) {
            QCOMPARE(model.headerData(r - 1, Qt::Vertical, Qt::DisplayRole),
                     QStringLiteral("%1,0").arg(r));
            for (int c = 1; c < 13; ++c) {
                const QModelIndex index = model.index(r - 1, c - 1);
                QCOMPARE(index.data(), QStringLiteral("%1,%2").arg(r).arg(c));
                QCOMPARE(index.data(Qt::BackgroundRole).isValid(), r == 2 && c == 5);
                QCOMPARE(index.data(Qt::ForegroundRole).isValid(), r == 2 && c == 5);
                QCOMPARE(model.headerData(c - 1, Qt::Horizontal, Qt::DisplayRole),
                         QStringLiteral("0,%1").arg(c));
            }
        }
        const QModelIndex coloured = model.index(1, 4);
        QCOMPARE(coloured.data(Qt::BackgroundRole).value<QBrush>(), QBrush(Qt::yellow));
        QCOMPARE(coloured.data(Qt::ForegroundRole).value<QBrush>(), QBrush(Qt::red));
        QCOMPARE(RecordGridModel::brushFor(0x00FF0000, QPalette()).color(), QColor(Qt::blue));
        QCOMPARE(RecordGridModel::brushFor(RecordGrid::kHighlight, QPalette()),
                 QPalette().brush(QPalette::Active, QPalette::Highlight));

        // The model follows the grid's changes, one by one and in bulk.
        grid.removeItem(1);
        grid.setTextMatrix(1, 1, QStringLiteral("a"));
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.index(0, 0).data(), QStringLiteral("a"));
        grid.addItem();
        QCOMPARE(model.rowCount(), 3);
        {
            RecordGrid::BulkUpdate bulk(grid);
            for (int i = 0; i < 50; ++i) grid.addItem();
            grid.setTextMatrix(40, 3, QStringLiteral("b"));
        }
        QCOMPARE(model.rowCount(), 53);
        QCOMPARE(model.index(39, 2).data(), QStringLiteral("b"));
        grid.setRows(1);
        QCOMPARE(model.rowCount(), 0);
        grid.setRows(3);
        QCOMPARE(model.rowCount(), 2);
    }

    void accessibleHeadingsAndCells() {
        RecordGrid grid(4, 13);
        const QStringList texts = {"编号", "工程部位", "强度等级(C)", "1", "3号楼", "",
                                   "2",    "",         "<b>C30</b>"};
        for (int i = 0; i < texts.size(); ++i) grid.setTextMatrix(i / 3, i % 3, texts.at(i));
        RecordGridModel model(grid);
        RecordGridView view(&model);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&view);
        QAccessibleTableInterface* table = iface ? iface->tableInterface() : nullptr;
        QVERIFY(table);
        QCOMPARE(table->columnDescription(0), QStringLiteral("工程部位"));
        QCOMPARE(table->rowDescription(1), QStringLiteral("2"));
        QAccessibleInterface* cell = table->cellAt(1, 1);
        QAccessibleTableCellInterface* cellIface = cell ? cell->tableCellInterface() : nullptr;
        QVERIFY(cellIface);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("<b>C30</b>"));
        QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("3号楼"));
        const QList<QAccessibleInterface*> heads = cellIface->columnHeaderCells();
        QCOMPARE(heads.size(), 1);
        QCOMPARE(heads.first()->text(QAccessible::Name), QStringLiteral("强度等级(C)"));
    }

    // A cell or heading too narrow for its text shows the whole text as its tooltip; one that
    // shows it whole has none.
    void tooltipOfCutText_data() {
        QTest::addColumn<QString>("where");  // cell, heading or number
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("cut");
        QTest::newRow("short cell") << "cell"
                                    << "C30" << false;
        QTest::newRow("cut cell of 12 characters") << "cell"
                                                   << "3号楼三层柱及剪力墙后浇" << true;
        QTest::newRow("short heading") << "heading"
                                       << "组数" << false;
        QTest::newRow("cut heading") << "heading"
                                     << "强度等级(C)及其说明文字" << true;
        QTest::newRow("row number") << "number"
                                    << "12" << false;
    }
    void tooltipOfCutText() {
        QFETCH(QString, where);
        QFETCH(QString, text);
        QFETCH(bool, cut);
        RecordGrid grid(3, 4);
        grid.setColWidth(1, 900);  // 60 pixels
        grid.setTextMatrix(where == "heading" ? 0 : 1, where == "number" ? 0 : 1, text);
        RecordGridModel model(grid);
        RecordGridView view(&model);
        view.resize(400, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QWidget* area = where == "cell"      ? view.viewport()
                        : where == "heading" ? view.horizontalHeader()->viewport()
                                             : view.verticalHeader()->viewport();
        const QPoint pos =
            where == "cell" ? view.visualRect(model.index(0, 0)).center() : QPoint(5, 5);
        QHelpEvent help(QEvent::ToolTip, pos, area->mapToGlobal(pos));
        QApplication::sendEvent(area, &help);
        const auto shown = [] { return QToolTip::isVisible() ? QToolTip::text() : QString(); };
        QTRY_COMPARE(shown(), cut ? text : QString());
        QToolTip::hideText();
    }
};

QTEST_MAIN(TestRecordGrid)
#include "tst_recordgrid.moc"
