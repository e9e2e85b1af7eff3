// The record grid's operations, and how its model and view show it to the eye and a screen reader.

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QBrush>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QTest>
#include <QToolTip>

#include <climits>

#include "platform/gbkcodec.h"
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

// The grid as a plain table of texts and colours: what RecordGrid must behave like.
struct PlainGrid {
    struct Row {
        QStringList texts;
        QList<quint32> fore, back;
    };
    int cols;
    QList<Row> rows;
    Row empty() const { return {QStringList(cols), QList<quint32>(cols), QList<quint32>(cols)}; }
    PlainGrid(int r, int c) : cols(c), rows(r, empty()) {}
    void setRows(int n) {
        while (rows.size() > qMax(n, 0)) rows.removeLast();
        while (rows.size() < n) rows.append(empty());
    }
};

// Cells, colours and the bytes a save writes, row by row.
void verifySame(const RecordGrid& grid, const PlainGrid& plain) {
    QCOMPARE(grid.rows(), int(plain.rows.size()));
    for (int r = 0; r < grid.rows(); ++r) {
        const PlainGrid::Row& row = plain.rows.at(r);
        for (int c = 0; c < grid.cols(); ++c) {
            QCOMPARE(grid.textMatrix(r, c), row.texts.at(c));
            QCOMPARE(grid.cellForeColor(r, c), row.fore.at(c));
            QCOMPARE(grid.cellBackColor(r, c), row.back.at(c));
        }
        QByteArray bytes;
        grid.appendCellBytes(r, 1, grid.cols() - 1, bytes);
        QCOMPARE(bytes, gbk::encode(row.texts.mid(1).join(u',')));
    }
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

    void sameAsPlainTable_data() {
        QTest::addColumn<QStringList>("texts");  // what cells are set to, at random
        QTest::addColumn<int>("steps");
        const QString longText = QStringLiteral("见证取样；抗渗").repeated(300);
        QTest::newRow("Chinese, ASCII and empty cells")
            << QStringList{"", "", "3号楼三层柱", "C30", "2024-04-04 09:05", "到期", "标准养护"}
            << 3000;
        QTest::newRow("commas, emoji, U+FFFD, line breaks in cells")
            << QStringList{"", "a,b", ",", "柱😀", "\uFFFD", "one\ntwo", "€", "C35"} << 3000;
        QTest::newRow("number column texts")
            << QStringList{"", "1", "17", "0", "01", "-1", "+2", "2147483648", "编号", " 3"}
            << 3000;
        QTest::newRow("long texts rewritten until old bytes are dropped")
            << QStringList{"", longText, longText + "a", "x"} << 3000;
    }
    // Any mix of the grid operations leaves the grid holding what a plain table of texts would,
    // with the same colours, and saving each row gives the GBK of its texts joined by commas.
    void sameAsPlainTable() {
        QFETCH(QStringList, texts);
        QFETCH(int, steps);
        constexpr int kCols = 12;
        RecordGrid grid(2, kCols);
        PlainGrid plain(2, kCols);
        QRandomGenerator random(42);
        auto pick = [&random](int n) { return int(random.bounded(qMax(n, 1))); };
        for (int step = 0; step < steps; ++step) {
            const int rows = grid.rows();
            const int row = pick(rows + 1) - 1;  // -1 and one past the end now and then
            const int col = pick(kCols);
            switch (pick(10)) {
                case 0:
                    grid.addItem();
                    plain.setRows(rows + 1);
                    break;
                case 1:
                    grid.removeItem(row);
                    if (row >= 0 && row < rows) plain.rows.removeAt(row);
                    break;
                case 2:
                    grid.setRows(pick(rows + 3));
                    plain.setRows(grid.rows());
                    break;
                case 3: {
                    const quint32 colour = pick(2) ? RecordGrid::kYellow : 0;
                    const bool fore = pick(2);
                    grid.setRow(row);
                    grid.setCol(col);
                    fore ? grid.setCellForeColor(colour) : grid.setCellBackColor(colour);
                    if (row >= 0 && row < rows)
                        (fore ? plain.rows[row].fore : plain.rows[row].back)[col] = colour;
                    break;
                }
                default: {
                    const QString text = texts.at(pick(texts.size()));
                    grid.setTextMatrix(row, col, text);
                    if (row >= 0 && row < rows) plain.rows[row].texts[col] = text;
                }
            }
            if (step % 97 == 0 || step == steps - 1) verifySame(grid, plain);
            if (QTest::currentTestFailed()) QFAIL(qPrintable(QStringLiteral("step %1").arg(step)));
        }
    }

    void findRow_data() {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<int>("firstCol");
        QTest::addColumn<int>("found");
        QTest::newRow("a record by its first ten cells")
            << QStringList{"柱",       "C30", "PB-1", "3-7 9:05", "28", "2024-04-04 09:05",
                           "标准养护", "36",  "2",    ""}
            << 1 << 2;
        QTest::newRow("middle cells") << QStringList{"28", "2024-04-04 09:05"} << 5 << 2;
        QTest::newRow("a prefix of a cell is not the cell") << QStringList{"柱", "C3"} << 1 << -1;
        QTest::newRow("one cell more is not a match")
            << QStringList{"2024-04-04 09:05", "标准养护X"} << 6 << -1;
        QTest::newRow("trailing empty cells of a short row") << QStringList{"短", "", ""} << 1 << 3;
        QTest::newRow("a comma in a cell") << QStringList{"a,b", "c"} << 1 << 4;
        QTest::newRow("the same texts split otherwise") << QStringList{"a", "b,c"} << 1 << -1;
        QTest::newRow("an emoji") << QStringList{"柱😀"} << 1 << 5;
        QTest::newRow("the number column") << QStringList{"3", "短"} << 0 << 3;
        QTest::newRow("empty texts find the first empty row") << QStringList{"", ""} << 1 << 6;
        QTest::newRow("beyond the last column") << QStringList{"", ""} << 11 << -1;
        QTest::newRow("no such record") << QStringList{"柱", "C35"} << 1 << -1;
    }
    void findRow() {
        QFETCH(QStringList, cells);
        QFETCH(int, firstCol);
        QFETCH(int, found);
        RecordGrid grid(7, 12);
        const QList<QStringList> rows = {
            {"柱", "C30", "PB-2"},  // differs from row 2 in the third cell only
            {"柱", "C30", "PB-1", "3-7 9:05", "28", "2024-04-04 09:05", "标准养护", "36", "2"},
            {"短"},
            {"a,b", "c"},
            {"柱😀"}};
        for (int r = 1; r <= rows.size(); ++r) {
            grid.setTextMatrix(r, 0, QString::number(r));
            for (int c = 1; c <= rows.at(r - 1).size(); ++c)
                grid.setTextMatrix(r, c, rows.at(r - 1).at(c - 1));
        }
        QCOMPARE(grid.findRow(cells, firstCol), found);
    }

    // Records read elsewhere replace the grid's; the headings, widths and the model stay.
    void takeRecordRows() {
        RecordGrid grid = coordinateGrid(5, 12);
        colourCell(grid, 0, 2);
        grid.setColWidth(3, 1200);
        RecordGridModel model(grid);
        QAbstractItemModelTester tester(&model, kReportFailures);
        RecordGrid loaded(3, 12);
        loaded.setRecordCells(1, gbk::encode(u"柱,C30,,到期"));
        loaded.setRecordCells(2, QByteArray("a,b,c,d,e,f,g,h,i,j,k,l,m,n"));  // too many texts
        loaded.setTextMatrix(1, 0, QStringLiteral("1"));
        grid.takeRecordRows(std::move(loaded));
        QCOMPARE(loaded.rows(), 0);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(rowTags(grid), (QStringList{"0,0|0,11", "1|", "|k"}));
        QCOMPARE(grid.textMatrix(1, 4), QStringLiteral("到期"));
        QCOMPARE(grid.textMatrix(1, 2), QStringLiteral("C30"));
        QCOMPARE(rowTags(grid, true), QStringList{"0,2"});
        QCOMPARE(grid.colWidth(3), 1200);
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
