// The record grid against a plain table of texts, and the model that shows it.

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QBrush>
#include <QRandomGenerator>
#include <QTest>

#include "platform/gbkcodec.h"
#include "records/recordgrid.h"
#include "records/recordgridmodel.h"

namespace {

constexpr auto kReportFailures = QAbstractItemModelTester::FailureReportingMode::QtTest;

// What RecordGrid must behave like: each row a list of texts, text colours and background colours.
struct PlainRow {
    QStringList texts;
    QList<quint32> fore, back;
};

// Cells, colours and saved bytes as the plain rows hold them, and the model showing them.
void verifySame(const RecordGrid& grid, const QList<PlainRow>& plain,
                const RecordGridModel& model) {
    QCOMPARE(grid.rows(), int(plain.size()));
    QCOMPARE(model.rowCount(), qMax(grid.rows() - 1, 0));
    const QBrush highlight = QApplication::palette().brush(QPalette::Active, QPalette::Highlight);
    auto shown = [](quint32 colour, const QBrush& brush) {
        return colour ? QVariant(brush) : QVariant();
    };
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            const QString& text = plain[r].texts.at(c);
            QCOMPARE(grid.textMatrix(r, c), text);
            QCOMPARE(grid.cellForeColor(r, c), plain[r].fore.at(c));
            QCOMPARE(grid.cellBackColor(r, c), plain[r].back.at(c));
            const QModelIndex i = model.index(r - 1, c - 1);
            if (r > 0 && c > 0) {
                QCOMPARE(i.data(), text);
                QCOMPARE(i.data(Qt::ForegroundRole),
                         shown(plain[r].fore.at(c), QBrush(Qt::yellow)));
                QCOMPARE(i.data(Qt::BackgroundRole), shown(plain[r].back.at(c), highlight));
            } else if (r + c > 0) {
                QCOMPARE(r ? model.headerData(r - 1, Qt::Vertical, Qt::DisplayRole)
                           : model.headerData(c - 1, Qt::Horizontal, Qt::DisplayRole),
                         text);
            }
        }
        QByteArray bytes;  // what a save writes for the row
        grid.appendCellBytes(r, 1, grid.cols() - 1, bytes);
        QCOMPARE(bytes, gbk::encode(plain[r].texts.mid(1).join(u',')));
    }
}

}  // namespace

class TestRecordGrid : public QObject {
    Q_OBJECT

  private slots:
    void sameAsPlainTable_data() {
        QTest::addColumn<QStringList>("texts");  // what cells are set to, at random
        const QString longText = QStringLiteral("见证取样；抗渗").repeated(300);
        QTest::newRow("Chinese, ASCII and empty cells")
            << QStringList{"", "", "3号楼三层柱", "C30", "2024-04-04 09:05", "到期", "标准养护"};
        QTest::newRow("commas, emoji, U+FFFD, line breaks in cells")
            << QStringList{"", "a,b", ",", "柱😀", "\uFFFD", "one\ntwo", "€", "C35"};
        QTest::newRow("number column texts")
            << QStringList{"", "1", "17", "0", "01", "-1", "+2", "2147483648", "编号", " 3"};
        QTest::newRow("long texts rewritten until old bytes are dropped")
            << QStringList{"", longText, longText + "a", "x"};
    }
    // Any mix of the grid operations, inside and outside the grid, leaves it holding what a plain
    // table would, with the same colours; saving a row gives the GBK of its texts, findRow() finds
    // what a search of the texts finds, and the model (cell (i, j) is grid cell (i + 1, j + 1),
    // row 0 and column 0 the headers) follows.
    void sameAsPlainTable() {
        QFETCH(QStringList, texts);
        constexpr int kCols = 12;
        const PlainRow empty{QStringList(kCols), QList<quint32>(kCols), QList<quint32>(kCols)};
        RecordGrid grid(2, kCols);
        QList<PlainRow> plain(2, empty);
        RecordGridModel model(grid);
        QAbstractItemModelTester tester(&model, kReportFailures);
        QRandomGenerator random(42);
        auto pick = [&random](int n) { return int(random.bounded(qMax(n, 1))); };
        for (int step = 0; step < 3000; ++step) {
            const int rows = grid.rows();
            const int row = pick(rows + 2) - 1;  // -1 and one past the end now and then
            const int col = pick(kCols + 2) - 1;
            const bool inside = row >= 0 && row < rows && col >= 0 && col < kCols;
            if (row == 0 && col == 0) continue;  // the view's corner, not a model cell
            const int op = pick(1000);
            if (op < 100) {
                grid.addItem();
                plain.append(empty);
            } else if (op < 200) {
                grid.removeItem(row);
                if (row >= 0 && row < rows) plain.removeAt(row);
            } else if (op < 300) {
                grid.setRows(pick(rows + 3) - 1);
                plain.resize(grid.rows(), empty);
            } else if (op < 400) {
                // The colours of a row that falls due: yellow on the selection highlight.
                const bool fore = pick(2);
                const quint32 colour =
                    pick(2) ? fore ? RecordGrid::kYellow : RecordGrid::kHighlight : 0;
                grid.setRow(row);
                grid.setCol(col);
                fore ? grid.setCellForeColor(colour) : grid.setCellBackColor(colour);
                if (inside) (fore ? plain[row].fore : plain[row].back)[col] = colour;
            } else if (op < 403) {
                // Records read elsewhere (the editor's background load) replace the grid's rows
                // below the headings.
                RecordGrid loaded(1 + pick(3), kCols);
                QList<PlainRow> taken(loaded.rows(), empty);
                taken[0] = plain.value(0, empty);
                for (int r = 1; r < loaded.rows(); ++r) {
                    loaded.setRecordCells(r, gbk::encode(u"柱,C30,,到期"));
                    taken[r].texts =
                        QStringList{"", "柱", "C30", "", "到期"} + QStringList(kCols - 5);
                }
                grid.takeRecordRows(std::move(loaded));
                plain = taken;
            } else {
                const QString text = texts.at(pick(texts.size()));
                grid.setTextMatrix(row, col, text);
                if (inside) plain[row].texts[col] = text;
            }
            if (step % 10 == 0) {
                // The check before 添加: the first record row holding the texts from a column on.
                const int first = pick(kCols);
                const int n = 1 + pick(kCols - first);
                QStringList cells;
                for (int i = 0; i < n; ++i) cells << texts.at(pick(texts.size()));
                if (pick(2) && plain.size() > 1)
                    cells = plain[1 + pick(plain.size() - 1)].texts.mid(first, n);
                int found = -1;
                for (int r = plain.size() - 1; r >= 1; --r)
                    if (plain[r].texts.mid(first, n) == cells) found = r;
                QCOMPARE(grid.findRow(cells, first), found);
            }
            if (step % 97 == 0) verifySame(grid, plain, model);
            if (QTest::currentTestFailed()) QFAIL(qPrintable(QStringLiteral("step %1").arg(step)));
        }
        verifySame(grid, plain, model);
    }
};

QTEST_MAIN(TestRecordGrid)
#include "tst_recordgrid.moc"
