// The 试验计划 window inside the main window: the menu item, the week ahead following a.bz, the
// temperature log's edits and import, and 更新到期时间 from the question to today's list.

#include <QMenu>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

#include "mainwindow/windowfixture.h"
#include "planning/curingtab.h"
#include "planning/planningcommand.h"
#include "planning/planningwindow.h"
#include "planning/sameconditionmodel.h"
#include "planning/temperaturelogmodel.h"
#include "planning/weekaheadmodel.h"

namespace {

const QString kSame =
    QStringLiteral("1号柱,C30,PB-1,2024-3-1 09:05,28,2024-03-29 09:05,同级养护,36,2,,");
// Projected to today 15:00, after the clock's 12:00.
const QString kSameToday =
    QStringLiteral("2号梁,C35,PB-2,2024-2-9 15:00,32,2024-03-12 15:00,同级养护,12,3,,");
const QString kStandard =
    QStringLiteral("3号板,C30,PB-3,2024-3-3 10:00,7,2024-03-10 10:00,标准养护,8,1,,");

struct Fixture : WindowFixture {
    PlanningWindow* planning = nullptr;

    explicit Fixture(const QStringList& lines) : WindowFixture(lines) {
        clock.set(QDateTime(QDate(2024, 3, 10), QTime(12, 0)));
        QByteArray log = "2024-01-01,20";
        for (QDate d(2024, 1, 2); d <= QDate(2024, 3, 31); d = d.addDays(1))
            log += "\r\n" + d.toString(Qt::ISODate).toLatin1() + ",20";
        writeFile("qw.csv", log);
        installPlanningCommand(*window);
    }
    void writeFile(const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    QByteArray readFile(const char* name) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Opens the window from the menu and waits for its first read.
    void open() {
        action("syjh")->trigger();
        planning = window->findChild<PlanningWindow*>();
        QVERIFY(planning && planning->isVisible());
        waitForRead();
    }
    void waitForRead() {
        QSignalSpy read(planning, &PlanningWindow::refreshed);
        QVERIFY(read.wait(5000));
    }
    QStringList weekColumn(int column) const {
        QStringList texts;
        const WeekAheadModel* m = planning->weekModel();
        for (int r = 0; r < m->rowCount(); ++r) texts << m->index(r, column).data().toString();
        return texts;
    }
    QString recordCell(int row, int column) const {
        return planning->curingTab()->recordModel()->index(row, column).data().toString();
    }
};

}  // namespace

class TestPlanningWindow : public QObject {
    Q_OBJECT
  private slots:
    void menuItemAfterFind() {
        Fixture f({});
        const QList<QAction*> items = f.window->findChild<QMenu*>("sjbj")->actions();
        QCOMPARE(items.indexOf(f.action("syjh")), items.indexOf(f.action("find")) + 1);
        QCOMPARE(f.action("syjh")->text(), "试验计划");
        QCOMPARE(f.action("syjh")->shortcut(), QKeySequence("Ctrl+P"));
        f.open();
        QCOMPARE(f.planning->objectName(), "Form6");
        QCOMPARE(f.planning->windowTitle(), "试验计划");
    }

    void weekAheadFollowsTheFile() {
        Fixture f({kStandard, kSame, recordLine("旧柱", "2024-03-01 08:00")});
        f.open();
        QCOMPARE(f.weekColumn(1), QStringList({"", "旧柱", "", "3号板"}));
        QCOMPARE(f.weekColumn(0).at(2), "2024-03-10 星期日　共 1 批，1 组");

        // An add in the editor shows at once.
        f.write({kStandard, kSame, recordLine("旧柱", "2024-03-01 08:00"),
                 recordLine("新墙", "2024-03-11 09:00")});
        emit f.window->recordAdded({});
        f.waitForRead();
        QCOMPARE(f.weekColumn(1).mid(4), QStringList({"", "新墙"}));

        // F5 reads again; more days take in later records.
        f.write({kStandard});
        QTest::keyClick(f.planning, Qt::Key_F5);
        f.waitForRead();
        QCOMPARE(f.weekColumn(1), QStringList({"", "3号板"}));
        f.write({kStandard, kSame});
        f.planning->daysBox()->setValue(20);
        f.waitForRead();
        QCOMPARE(f.weekColumn(1), QStringList({"", "3号板", "", "1号柱"}));
    }

    void update_data() {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("changedMeanwhile");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("written");
        const QString ask = QStringLiteral(
            "将按等效养护龄期更新 2 条同条件养护记录的龄期和到期时间，其余内容不变。是否继续？");
        const QTime noon(12, 0);
        QTest::newRow("yes") << noon << true << false << QStringList{ask} << true;
        QTest::newRow("no") << noon << false << false << QStringList{ask} << false;
        QTest::newRow("a projected due time already past")
            << QTime(16, 0) << true << false
            << QStringList{ask +
                           "\n其中 1 条的推算到期时间已过，更新后不会再弹出提醒，请尽快安排试验。"}
            << true;
        QTest::newRow("a.bz changed after it was read")
            << noon << true << true
            << QStringList{ask,
                           "数据文件在此期间已被修改，未作任何改动。已重新读取，请核对后再更新。"}
            << false;
    }
    void update() {
        QFETCH(QTime, now);
        QFETCH(bool, answer);
        QFETCH(bool, changedMeanwhile);
        QFETCH(bool, written);
        Fixture f({kStandard, kSame, kSameToday});
        f.start();
        QCOMPARE(f.column(1), QStringList({"3号板", ""}));
        f.open();
        QCOMPARE(f.recordCell(0, 6), "2024-03-31 09:05");
        QCOMPARE(f.recordCell(1, 6), "2024-03-10 15:00");
        QCOMPARE(f.recordCell(1, 3), "580");  // 29 days at 20 ℃ before today
        f.clock.set(QDateTime(QDate(2024, 3, 10), now));
        f.messages.setAnswer(answer);
        if (changedMeanwhile) f.write({kStandard, kSame, kSameToday, kStandard});
        const QByteArray before = f.read();

        QSignalSpy wrote(f.planning, &PlanningWindow::dueTimesWritten);
        f.planning->updateDueTimes();
        if (answer) f.waitForRead();
        QTEST(f.messages.texts(), "messages");
        QCOMPARE(wrote.size(), written ? 1 : 0);
        if (!written) {
            QCOMPARE(f.read(), before);
            return;
        }
        QCOMPARE(
            f.read(),
            Fixture::encode(
                {kStandard,
                 QString(kSame).replace(",28,2024-03-29 09:05,", ",30,2024-03-31 09:05,"),
                 QString(kSameToday).replace(",32,2024-03-12 15:00,", ",30,2024-03-10 15:00,")}));
        // Today's list follows at once; the window lists no change any more.
        QCOMPARE(f.column(1), QStringList({"3号板", "2号梁", ""}));
        QVERIFY(f.planning->curingTab()->recordModel()->changes().isEmpty());
    }

    void logEditsAreSaved() {
        Fixture f({kSame});
        f.writeFile("qw.csv", gbk::encode(u"日期,日平均气温\r\n2024-03-01,20\r\n坏行\r\n"));
        f.open();
        CuringTab* tab = f.planning->curingTab();
        TemperatureLogModel* log = tab->logModel();
        QCOMPARE(log->rowCount(), 1);

        QVERIFY(!log->setData(log->index(0, 1), "20.55", Qt::EditRole));
        QCOMPARE(f.messages.texts().size(), 1);
        QVERIFY(log->setData(log->index(0, 1), "-1.5", Qt::EditRole));
        QCOMPARE(f.readFile("qw.csv"),
                 gbk::encode(u"日期,日平均气温\r\n2024-03-01,-1.5\r\n坏行\r\n"));

        f.writeFile("import.csv", "2024/3/2,3\n2024-03-01,4\nx,y\n");
        f.messages.clear();
        tab->importFile(f.dir.filePath("import.csv"));
        QCOMPARE(f.messages.texts(), QStringList{"已导入 2 行气温，跳过 1 行无法识别的内容。"});
        QCOMPARE(f.readFile("qw.csv"),
                 gbk::encode(u"日期,日平均气温\r\n2024-03-01,4\r\n坏行\r\n2024-03-02,3\r\n"));
        // Estimated from the two logged days from 3 March on.
        QCOMPARE(f.recordCell(0, 8), "是");
    }

    void keys() {
        Fixture f({kSame});
        f.open();
        QTableView* logView = f.planning->curingTab()->logView();
        f.planning->tabs()->setCurrentIndex(1);
        logView->selectRow(0);
        logView->setFocus();
        f.messages.setAnswer(false);
        QTest::keyClick(logView, Qt::Key_Delete);
        QCOMPARE(f.messages.texts(), QStringList{"删除所选的 1 天气温记录？"});
        QCOMPARE(f.planning->curingTab()->logModel()->rowCount(), 91);
        f.messages.setAnswer(true);
        QTest::keyClick(logView, Qt::Key_Delete);
        QCOMPARE(f.planning->curingTab()->logModel()->rowCount(), 90);
        QVERIFY(!f.readFile("qw.csv").contains("2024-01-01"));

        // Esc in an edited cell only ends the edit; Esc elsewhere closes the window.
        logView->edit(logView->model()->index(0, 1));
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor && editor != logView);
        QTest::keyClick(editor, Qt::Key_Delete);
        QCOMPARE(f.planning->curingTab()->logModel()->rowCount(), 90);
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(f.planning->isVisible());
        QTest::keyClick(logView, Qt::Key_Escape);
        QVERIFY(!f.planning->isVisible());
    }

    void unreadableLogIsNeverOverwritten() {
        Fixture f({kSame});
        QVERIFY(QFile::remove(f.dir.filePath("qw.csv")));
        QVERIFY(QDir(f.dir.path()).mkdir("qw.csv"));
        f.open();
        CuringTab* tab = f.planning->curingTab();
        f.writeFile("import.csv", "2024-03-01,4\n");
        tab->importFile(f.dir.filePath("import.csv"));
        QVERIFY(!tab->logModel()->setData(tab->logModel()->index(0, 1), "3", Qt::EditRole));
        QCOMPARE(tab->logModel()->rowCount(), 0);
        QVERIFY(QFileInfo(f.dir.filePath("qw.csv")).isDir());
        QCOMPARE(f.recordCell(0, 9), "没有气温记录");
    }
};

QTEST_MAIN(TestPlanningWindow)
#include "tst_planningwindow.moc"
