// The main window and its commands: start-up, 读取数据, the reminder switch, removing the selected
// row, 删除过期数据, 数据初始化, 恢复备份… and the search.

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTableWidget>
#include <QThread>
#include <QTimer>

#include "mainwindow/backuplistdialog.h"
#include "mainwindow/backuprestore.h"
#include "mainwindow/recordfilesearch.h"
#include "mainwindow/recordmaintenance.h"
#include "mainwindow/recordsearchmodel.h"
#include "mainwindow/reminderswitch.h"
#include "mainwindow/searchwindow.h"
#include "mainwindow/windowfixture.h"
#include "platform/textfile.h"
#include "records/backups.h"
#include "records/datafileguard.h"
#include "records/recordgridmodel.h"
#include "records/recordgridview.h"
#include "reminders/reminderengine.h"
#include "settings/programsettings.h"
#include "settings/windowmemory.h"
#include "support/filesizelimit.h"

using L = QStringList;
using B = QByteArray;

namespace {

// The window started with the switch and the list commands installed.
struct Fixture : WindowFixture {
    ReminderSwitch* reminderSwitch;
    explicit Fixture(const L& lines, bool folder = false) : WindowFixture(lines) {
        if (folder) QDir().mkdir(dataPath());
        reminderSwitch = new ReminderSwitch(*window);
        new RecordMaintenance(*window, *reminderSwitch);
        start();
    }
    bool scanning() const { return window->scanTimer()->isActive(); }
};

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
  private slots:
    // Today's list at start-up and after 读取数据, which shows a.bz as it is now, without the old
    // marks. The scan runs while something is due, unless the user stopped the reminders; 开启提醒
    // starts it at the interval set. Steps: "stop" is 停止提醒, "dq" is 读取数据 (two records due
    // today), "kq INTERVAL" is 开启提醒.
    void todayList_data() {
        QTest::addColumn<L>("start");  // a.bz at start-up; {"<folder>"}: a.bz is a folder
        QTest::addColumn<L>("steps");
        QTest::addColumn<L>("parts");
        QTest::addColumn<int>("interval");  // of the scan; 0: stopped
        QTest::addColumn<L>("messages");    // their first four characters
        const L one = {recordLine("甲")}, tomorrow = {recordLine("甲", "2024-04-05 09:05")};
        // clang-format off
        QTest::newRow("a.bz is a folder") << L{"<folder>"} << L{} << L{""} << 0 << L{"无法读取"};
        QTest::newRow("nothing due today") << tomorrow << L{} << L{""} << 0 << L{};
        QTest::newRow("two due today") << L{recordLine("甲"), recordLine("乙", "2024-04-04 23:59"),
            ",,,,,,,,,,"} << L{} << L{"甲", "乙", ""} << 5000 << L{};
        QTest::newRow("读取数据 drops the marks") << L{recordLine("甲"), recordLine("乙", "3-4")}
            << L{"dq"} << L{"甲", "丙", ""} << 5000 << L{};
        QTest::newRow("读取数据 starts the scan") << L{} << L{"dq"} << L{"甲", "丙", ""} << 5000
            << L{};
        QTest::newRow("读取数据 after 停止提醒") << L{} << L{"stop", "dq"} << L{"甲", "丙", ""} << 0
            << L{"已经关闭"};
        QTest::newRow("开启提醒, nothing due") << tomorrow << L{"kq 5000"} << L{""} << 0
            << L{"开启失败"};
        QTest::newRow("开启提醒, half to even, blank and unit") << one << L{"stop", "kq  1500.5ms"}
            << L{"甲", ""} << 1500 << L{"已经关闭", "已经开启"};
        QTest::newRow("开启提醒, reads as 0") << one << L{"stop", "kq abc"} << L{"甲", ""} << 0
            << L{"已经关闭", "开启失败"};
        // clang-format on
    }
    void todayList() {
        QFETCH(L, start);
        QFETCH(L, steps);
        QFETCH(L, parts);
        QFETCH(int, interval);
        QFETCH(L, messages);
        const bool folder = start == L{"<folder>"};
        Fixture f(folder ? L{} : start, folder);
        if (f.grid().rows() > 2) f.mark(1);
        for (const QString& step : steps) {
            if (step == "stop") {
                f.action("bg")->setEnabled(true);
                f.action("bg")->trigger();
            } else if (step == "dq") {
                f.write({recordLine("甲"), recordLine("丙", "2024-04-04 10:00")});
                f.action("dq")->trigger();
            } else {
                const QString text = step.mid(3);
                f.window->setScanIntervalProvider([text] { return text; });
                f.action("kq")->trigger();
            }
        }
        if (steps.contains("dq")) {
            QCOMPARE(f.grid().textMatrix(1, 11), QString());
            QCOMPARE(f.grid().cellForeColor(1, 3), RecordGrid::kDefaultColour);
        }
        QCOMPARE(f.column(1), parts);
        for (int r = 1; r < parts.size(); ++r)
            QCOMPARE(f.grid().textMatrix(r, 0), QString::number(r));
        QCOMPARE(f.scanning(), interval != 0);
        QCOMPARE(f.window->scanTimer()->interval(), interval);
        QCOMPARE(f.action("kq")->isEnabled(), !interval);
        QCOMPARE(f.action("bg")->isEnabled(), interval != 0);
        L seen;
        for (const QString& text : f.messages.texts()) seen << text.left(4);
        QCOMPARE(seen, messages);
    }

    // A double click takes the selected row off today's list, never out of a.bz; a row that has
    // not fired goes only when the user says yes.
    void removeSelected_data() {
        QTest::addColumn<int>("selected");  // of 0, 1, 2, 3 (marked) and the blank row
        QTest::addColumn<bool>("yes");
        QTest::addColumn<L>("parts");
        QTest::addColumn<int>("questions");
        QTest::newRow("row 3, 是") << 3 << true << L{"0", "1", "3", ""} << 1;
        QTest::newRow("row 3, 否") << 3 << false << L{"0", "1", "2", "3", ""} << 1;
        QTest::newRow("a fired row goes unasked") << 4 << false << L{"0", "1", "2", ""} << 0;
        QTest::newRow("the blank last row") << 5 << false << L{"0", "1", "2", "3"} << 0;
        QTest::newRow("RowSel 0 changes nothing") << 0 << true << L{"0", "1", "2", "3", ""} << 0;
    }
    void removeSelected() {
        QFETCH(int, selected);
        QFETCH(bool, yes);
        QFETCH(L, parts);
        QFETCH(int, questions);
        Fixture f({recordLine("0"), recordLine("1"), recordLine("2"), recordLine("3")});
        const B before = f.read();
        f.mark(4);
        f.grid().setRowSel(selected);
        f.messages.setAnswer(yes);
        emit f.window->gridView()->gridDoubleClicked();
        QCOMPARE(f.column(1), parts);
        for (int r = 1; r < f.grid().rows(); ++r) {  // the mark's colour moves with its row
            QCOMPARE(f.grid().textMatrix(r, 0), r < parts.size() ? QString::number(r) : "");
            QCOMPARE(f.grid().cellForeColor(r, 3) == RecordGrid::kYellow, parts[r - 1] == "3");
        }
        QCOMPARE(f.messages.messages().size(), questions);
        if (questions)
            QVERIFY(f.messages.texts().first().contains("今天不会再提醒；数据文件 a.bz 不会改变"));
        QCOMPARE(f.read(), before);
    }

    // 删除过期数据 asks with the number of records it will take out, then removes one line of
    // a.bz per fired row (the first equal lines, in file order), the other lines staying in their
    // places with CR LF between them; it works on a.bz as it is after the question, once another
    // program's write is over. 数据初始化 copies a.bz first, names the copy in its question and
    // empties the file only if it is still the one asked about; today's list follows. A change
    // backs a.bz up first; one that fails leaves a.bz, the list and the backup folder as they were.
    // Steps after the command: "否" answers no, "双击 N" double-clicks row N first (yes),
    // "另一程序" has another program hold the lock and add a line C before the command can take it.
    void fileCommands_data() {
        QTest::addColumn<L>("command");
        QTest::addColumn<B>("file");  // null: no a.bz
        QTest::addColumn<QList<int>>("marked");
        QTest::addColumn<B>("meanwhile");  // what a.bz becomes while the question is open
        QTest::addColumn<B>("after");      // null: left as it was
        QTest::addColumn<L>("parts");
        QTest::addColumn<L>("messages");  // "?": a question; "!": an error
        QTest::addColumn<B>("copy");      // the backup made; null: none
        const B a = gbk::encode(recordLine("A")), b = gbk::encode(recordLine("B")),
                c = gbk::encode(recordLine("C"));
        const B other = gbk::encode(recordLine("other day", "2024-05-01 08:00"));
        const L expired = {"删除过期数据"}, init = {"数据初始化"};
        const auto lines = [](const QList<B>& l) { return B(l.join("\r\n")); };
        const L stopped = {"已经关闭",
                           "由于今日提醒完毕。所以已经关闭提醒。 您可以关闭本程序以便节省资源。"};
        // clang-format off
        QTest::newRow("twins: one line per fired row, in file order") << expired
            << lines({a, b, c, b, other}) << QList<int>{2, 3} << B() << lines({a, b, other})
            << L{"A", "B", ""} << L{"?"} << lines({a, b, c, b, other});
        QTest::newRow("a twin that has not fired stays") << expired << lines({a, a})
            << QList<int>{1} << B() << a << L{"A", ""} << L{"?"} << lines({a, a});
        QTest::newRow("a twin taken off the list by a double click stays") << expired + L{"双击 2"}
            << lines({a, a, other}) << QList<int>{1} << B() << lines({a, other}) << L{""}
            << L{"?", "?"} + stopped << lines({a, a, other});
        QTest::newRow("all removed: the reminders stop") << expired << lines({a, b})
            << QList<int>{1, 2} << B() << B("") << L{""} << L{"?"} + stopped << lines({a, b});
        QTest::newRow("empty list") << expired << other << QList<int>{} << B() << B() << L{""}
            << L{"没有检测到数据"} << B();
        QTest::newRow("nothing fired") << expired << a << QList<int>{} << B() << B()
            << L{"A", ""} << L{"今日列表中没有标记为“到期”的记录，没有要删除的数据。"} << B();
        QTest::newRow("删除过期数据, 否") << expired + L{"否"} << lines({a, other})
            << QList<int>{1} << B() << B() << L{"A", ""} << L{"?"} << B();
        QTest::newRow("LF line ends become CR LF") << expired << a + "\n" + other + "\n" + b + "\n"
            << QList<int>{1} << B() << lines({other, b}) << L{"B", ""} << L{"?"}
            << a + "\n" + other + "\n" + b + "\n";
        QTest::newRow("empty lines kept") << expired << lines({other, "", a, "", b})
            << QList<int>{1} << B() << lines({other, "", "", b}) << L{"B", ""} << L{"?"}
            << lines({other, "", a, "", b});
        QTest::newRow("disk full") << expired << (other + "\r\n").repeated(1000) + a + "\r\n" + b
            << QList<int>{1} << B() << B() << L{"A", "B", ""} << L{"?", "!"} << B();
        QTest::newRow("a line added while asking stays") << expired << lines({a, b})
            << QList<int>{1} << lines({a, b, c}) << lines({b, c}) << L{"B", ""} << L{"?"}
            << lines({a, b, c});
        QTest::newRow("the fired line gone while asking") << expired << lines({a, b})
            << QList<int>{1} << b << b << L{"B", ""}
            << L{"?", "询问期间数据文件或今日列表有了变化：实际从数据文件中删除了 0 条记录。"} << b;
        QTest::newRow("another program writing: its line stays") << expired + L{"另一程序"}
            << lines({a, b}) << QList<int>{1} << B() << lines({b, c}) << L{"B", ""} << L{"?"}
            << lines({a, b, c});
        QTest::newRow("数据初始化") << init << a << QList<int>{} << B() << B("") << L{""}
            << L{"?", "初始化完成。"} << a;
        QTest::newRow("数据初始化, 否") << init + L{"否"} << a << QList<int>{} << B() << B()
            << L{"A", ""} << L{"?"} << a;
        QTest::newRow("数据初始化 without a.bz") << init << B() << QList<int>{} << B()
            << B("<missing>") << L{""} << L{"无需初始化数据。"} << B();
        QTest::newRow("数据初始化, a.bz changed while asking") << init << a << QList<int>{}
            << lines({a, b}) << lines({a, b}) << L{"A", ""} << L{"?", "!"} << a;
        // clang-format on
    }
    void fileCommands() {
        QFETCH(L, command);
        QFETCH(B, file);
        QFETCH(QList<int>, marked);
        QFETCH(B, meanwhile);
        QFETCH(B, after);
        QFETCH(L, parts);
        QFETCH(L, messages);
        QFETCH(B, copy);
        Fixture f({});
        if (!file.isNull()) QVERIFY(writeFileAtomically(f.dataPath(), file, nullptr));
        f.window->reloadRecords();
        for (int row : marked) f.mark(row);
        if (!FileSizeLimit::kWorks && QTest::currentDataTag() == QLatin1String("disk full"))
            QSKIP("no file size limit on this system");
        f.messages.clear();
        const bool wasScanning = f.scanning();  // 数据初始化 leaves the scan as it was
        f.messages.setAnswer(!command.contains("否"));
        if (!meanwhile.isNull())
            f.messages.setWhileAsking(
                [&] { writeFileAtomically(f.dataPath(), meanwhile, nullptr); });
        if (command.contains("双击 2")) {
            f.grid().setRowSel(2);
            emit f.window->gridView()->gridDoubleClicked();
        }
        QSemaphore locked;
        QThread* writer = QThread::create([&] {  // another program, its lock held a moment
            DataFileLock lock(f.dataPath());
            QVERIFY(lock.lock(nullptr, 0));
            locked.release();
            QThread::msleep(300);
            QVERIFY(writeFileAtomically(f.dataPath(), file + "\r\n" + gbk::encode(recordLine("C")),
                                        nullptr));
        });
        if (command.contains("另一程序")) {
            writer->start();
            locked.acquire();
        }
        {
            const FileSizeLimit limit(64 << 10);
            f.action(command.first().startsWith("删除") ? "scgqsj" : "sjcsh")->trigger();
        }
        writer->wait();
        delete writer;
        L seen;
        for (const auto& m : f.messages.messages())
            seen << (m.question ? "?" : m.title == "错误" ? "!" : m.text);
        QCOMPARE(seen, messages);
        QCOMPARE(f.read(), after.isNull() ? file : after);
        QCOMPARE(f.column(1), parts);
        for (int r = 1; r < parts.size(); ++r) {
            QCOMPARE(f.grid().textMatrix(r, 0), QString::number(r));
            QCOMPARE(f.grid().textMatrix(r, 11),
                     after.isNull() && marked.contains(r) ? "到期" : "");
        }
        QCOMPARE(f.scanning(), command.first() == "数据初始化" ? wasScanning : parts.size() > 1);
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 file.isNull() ? L{} : L{"a.bz"});
        const QList<BackupCopy> copies = Backups(f.dataPath()).list();
        QCOMPARE(copies.size(), copy.isNull() ? 0 : 1);
        if (copy.isNull()) return;
        QCOMPARE(readWholeFile(copies.first().path).bytes, copy);
    }

    // 恢复备份…: the copy 数据初始化 made comes back byte for byte after a question; without a
    // copy, or with 否, nothing changes. The list counts each copy's records off the user interface
    // thread, the emptied file's copy, made first, the newest.
    void restoreBackup() {
        Fixture f({recordLine("甲"), recordLine("乙", "2024-05-01 08:00"), ",,,,,,,,,,"});
        const B original = f.read();
        BackupRestore restore(*f.window);
        restore.restore();
        QCOMPARE(f.messages.texts(), L{"还没有数据文件的备份。"});
        f.action("sjcsh")->trigger();
        restore.setChooser([](const QList<BackupCopy>& copies, const QString&) {
            return std::optional(copies.first());
        });
        for (const bool yes : {false, true}) {
            f.messages.clear();
            f.messages.setAnswer(yes);
            restore.restore();
            QCOMPARE(f.read(), yes ? original : B(""));
        }
        BackupListDialog list(Backups(f.dataPath()).list(), Backups(f.dataPath()).folder());
        QTRY_COMPARE(list.table()->item(1, 1)->text(), "2");
        QCOMPARE(list.table()->item(0, 1)->text(), "0");
        QCOMPARE(list.selectedIndex(), 0);
    }

    // Every cell that contains the text turns red, the others go back to their colours, and the
    // end message counts the matches. Row 2 has fired. A search for "2024" runs first; the second
    // is started with Enter.
    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<L>("red");  // "row,col"
        QTest::newRow("contains") << "PB-00" << L{"1,3", "2,3"};
        QTest::newRow("exact, letters in the other case") << "c35" << L{"3,2"};
        QTest::newRow("empty text matches nothing") << "" << L{};
        QTest::newRow("a heading") << "组数" << L{"0,9"};
        QTest::newRow("in the fired row") << "3号楼" << L{"2,1", "3,10"};
    }
    void search() {
        QFETCH(QString, text);
        QFETCH(L, red);
        Fixture f({"1号楼,C30,PB-001,2024-3-7 09:05,28,2024-04-04 09:05,标准养护,36,2,,",
                   "3号楼,C30,PB-002,2024-3-7 09:05,28,2024-04-04 10:00,标准养护,1,2,,",
                   "5号楼,C35,XB-100,2024-3-7 09:05,28,2024-04-04 11:00,标准养护,1,2,3号楼旁,"});
        ReminderEngine::HighlightRow(f.grid(), 2, RecordGrid::kYellow, RecordGrid::kHighlight);
        SearchWindow window(f.grid(), f.dataPath(), f.messages, f.window.get());
        window.show();
        window.searchField()->setText(QStringLiteral("2024"));
        window.search();
        window.searchField()->setText(text);
        QTest::keyClick(window.searchField(), Qt::Key_Return);
        L found;
        for (int r = 0; r < f.grid().rows(); ++r) {
            for (int c = 0; c < f.grid().cols(); ++c) {
                const quint32 fore = f.grid().cellForeColor(r, c);
                const quint32 back = f.grid().cellBackColor(r, c);
                if (fore == RecordGrid::kRed) found << QStringLiteral("%1,%2").arg(r).arg(c);
                if (r != 2 || c == 0)  // the fired row keeps its colours, yet a match stands out
                    QCOMPARE(back, RecordGrid::kDefaultColour);
                else if (fore == RecordGrid::kRed)
                    QVERIFY(back != RecordGrid::kHighlight && back != RecordGrid::kDefaultColour);
                else
                    QVERIFY(fore == RecordGrid::kYellow && back == RecordGrid::kHighlight);
            }
        }
        QCOMPARE(found, red);
        QCOMPARE(f.messages.texts().last(),
                 QStringLiteral("搜索结束！共找到 %1 个匹配的单元格。").arg(red.size()));
    }

    // Today's list read at a glance: a click on a heading sorts the view (numbers by value, the
    // empty row last), the records keep their own numbers and a double click still takes off the
    // row clicked; the columns fit what they hold, up to a limit; a selected cell does not look
    // like a fired row.
    void todayListView() {
        const QString remark(40, u'备');
        Fixture f({recordLine("10号楼"), recordLine("2号楼三层柱东侧"),
                   recordLine("甲").replace(",,", "," + remark + ",")});
        ReminderEngine::HighlightRow(f.grid(), 2, RecordGrid::kYellow, RecordGrid::kHighlight);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        RecordGridView* view = f.window->gridView();
        QHeaderView* headings = view->horizontalHeader();
        auto order = [&] {
            L shown;
            for (int r = 0; r < view->model()->rowCount(); ++r)
                shown << view->model()->headerData(r, Qt::Vertical).toString() + ":" +
                             view->model()->index(r, 0).data().toString();
            return shown;
        };
        auto click = [&](int section) {
            QTest::mouseClick(headings->viewport(), Qt::LeftButton, {},
                              QPoint(headings->sectionViewportPosition(section) + 5, 5));
        };
        click(0);
        QCOMPARE(order(), L({"2:2号楼三层柱东侧", "1:10号楼", "3:甲", ":"}));
        click(0);
        QCOMPARE(order(), L({"3:甲", "1:10号楼", "2:2号楼三层柱东侧", ":"}));
        QCOMPARE(f.column(1), L({"10号楼", "2号楼三层柱东侧", "甲", ""}));  // the grid's order

        const QFontMetrics metrics(view->font());
        QTRY_VERIFY(view->columnWidth(0) > metrics.horizontalAdvance("2号楼三层柱东侧"));
        QVERIFY(view->columnWidth(9) < metrics.horizontalAdvance(remark));
        QVERIFY(view->columnWidth(9) > metrics.horizontalAdvance(remark.left(20)));

        view->setCurrentIndex(view->model()->index(2, 3));  // 2号楼, fired, in the view's row 2
        view->setCurrentIndex(view->model()->index(1, 3));  // 10号楼
        QCOMPARE(f.grid().rowSel(), 1);
        const QImage shot = view->viewport()->grab().toImage();
        auto background = [&](int row) {
            const QRect cell = view->visualRect(view->model()->index(row, 3));
            return shot.pixelColor(cell.left() + 2, cell.top() + 2);
        };
        const QColor fired = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
        QCOMPARE(background(2), fired);
        QVERIFY(background(1) != fired && background(1) != view->palette().color(QPalette::Base));

        const QRect first = view->visualRect(view->model()->index(0, 0));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(f.column(1), L({"10号楼", "2号楼三层柱东侧", ""}));  // 甲, shown first, went
        QCOMPARE(order(), L({"1:10号楼", "2:2号楼三层柱东侧", ":"}));
    }

    // A width the user gave a column in an earlier run is kept; a designed width that was kept
    // with it is not the user's, so that column fits its contents.
    void keptWidthsAreTheUsers() {
        WindowFixture f({recordLine("3号楼三层柱东侧")});
        QList<int> widths(13, RecordGrid::kDefaultWidth);
        widths[1] = 1300;  // as designed
        widths[3] = 3000;  // dragged
        ProgramSettings(AppPaths(f.dir.path()).settingsPath()).setColumnWidths(widths);
        installWindowMemory(*f.window);
        f.start();
        RecordGridView* view = f.window->gridView();
        QTRY_VERIFY(view->columnWidth(0) >
                    QFontMetrics(view->font()).horizontalAdvance("3号楼三层柱东侧"));
        QCOMPARE(view->columnWidth(2), 200);
    }

    // 全部记录 at its edges: the first and the last line (without a line end), every kind of line
    // end, blank lines, letters in either case, bytes of Chinese characters that look like letters,
    // lines on both sides of a block's end; each with blocks of 16 bytes and of a megabyte.
    void searchAllRecords_data() {
        QTest::addColumn<B>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<L>("found");                      // "line:first field"
        const QString sixtyOne = gbk::decode("\xb0\x41");  // a character whose second byte is "A"
        QTest::newRow("first and last line")
            << B("PB1,x\r\nQ,x\r\nPB3,x") << "pb" << L{"1:PB1", "3:PB3"};
        QTest::newRow("lone CR, lone LF, blank lines")
            << B("a\rb\n\r\n\nPB,x\r\n") << "PB" << L{"5:PB"};
        QTest::newRow("whole field and part of one")
            << gbk::encode(u"3号楼,C30\r\n13号楼,C35") << "3号楼" << L{"1:3号楼", "2:13号楼"};
        QTest::newRow("second byte of a character is no letter")
            << B("\xb0\x41,1\r\nA,2") << "a" << L{"2:A"};
        QTest::newRow("a character is matched byte for byte")
            << B("\xb0\x61,1\r\n\xb0\x41,2") << sixtyOne << L{QStringLiteral("2:") + sixtyOne};
        QTest::newRow("letters folded, characters still exact")
            << B("\xb0\x61X,1\r\n\xb0\x41x,2") << sixtyOne + "X" << L{"2:" + sixtyOne + "x"};
        QTest::newRow("a comma matches nothing") << B("a,b") << "a,b" << L{};
        QTest::newRow("empty text matches nothing") << B("a,b") << "" << L{};
        QTest::newRow("a long line between short ones")
            << B("x\r\n") + B(100, 'y') + ",PB\r\nPB,z"
            << "PB" << L{"2:" + QString(100, 'y'), "3:PB"};
    }
    void searchAllRecords() {
        QFETCH(B, file);
        QFETCH(QString, text);
        QFETCH(L, found);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.bz");
        QVERIFY(writeFileAtomically(path, file, nullptr));
        for (qsizetype block : {qsizetype(16), LineBlockReader::kDefaultBlockSize}) {
            const RecordSearchResult result = searchRecordFile(path, text, nullptr, block);
            L seen;
            for (const auto& hit : result.hits)
                seen << QStringLiteral("%1:%2").arg(hit.line).arg(
                    gbk::decode(result.bytes.mid(hit.start, hit.length)).section(u',', 0, 0));
            QCOMPARE(seen, found);
            QCOMPARE(result.lines, qint64(splitLines(file).size()));
        }
        RecordSearchProgress stopped;
        stopped.stop = true;
        const RecordSearchResult none = searchRecordFile(path, text, &stopped);
        QVERIFY(none.stopped && none.hits.isEmpty());
    }

    // The window's 全部记录: Enter searches a.bz on a thread of its own and lists what it found
    // with line numbers and due times; a second search replaces one still running; the list says
    // when there is no a.bz.
    void searchWindowAllRecords() {
        Fixture f({recordLine("甲"), recordLine("乙", "2024-05-01 08:00"), recordLine("丙甲")});
        SearchWindow window(f.grid(), f.dataPath(), f.messages, f.window.get());
        window.show();
        window.fileScope()->setChecked(true);
        QVERIFY(window.width() >= 600);
        QSignalSpy shown(&window, &SearchWindow::fileSearchShown);
        window.searchField()->setText("乙");
        window.search();
        window.searchField()->setText("甲");
        QTest::keyClick(window.searchField(), Qt::Key_Return);
        QVERIFY(shown.wait(5000));
        QTRY_VERIFY(!window.isSearching());
        QCOMPARE(shown.size(), 1);  // the first search was replaced before it was shown
        RecordSearchModel* model = window.resultModel();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(1, 0).data().toLongLong(), 3);
        QCOMPARE(model->index(1, 1).data().toString(), "2024-04-04 09:05");
        QCOMPARE(model->index(1, 2).data().toString(), "丙甲");
        QVERIFY(model->index(1, 2).data(Qt::ForegroundRole).isValid());
        QVERIFY(!model->index(1, 3).data(Qt::ForegroundRole).isValid());
        QCOMPARE(window.resultLine()->text(), "找到 2 条记录（数据文件共 3 行）。");
        QVERIFY(f.messages.texts().isEmpty());
        QCOMPARE(f.grid().cellForeColor(1, 1),
                 RecordGrid::kDefaultColour);  // today's list untouched

        QFile::remove(f.dataPath());
        window.search();
        QVERIFY(shown.wait(5000));
        QCOMPARE(window.resultLine()->text(), "数据文件不存在，没有记录可查找。");
        window.todayScope()->setChecked(true);
        QCOMPARE(window.size(), window.minimumSize());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
