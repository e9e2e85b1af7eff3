// The 试验计划 window inside the main window: 更新到期时间 from the question to today's list, and
// the temperature log's edits and import written to qw.csv, never over one it cannot read.

#include <QSignalSpy>

#include "mainwindow/windowfixture.h"
#include "planning/curingtab.h"
#include "planning/planningcommand.h"
#include "planning/planningwindow.h"
#include "planning/sameconditionmodel.h"
#include "planning/temperaturelogmodel.h"
#include "reminders/reminderfiles.h"

using namespace reminderfiles;

namespace {

const QString kSame =
    QStringLiteral("1号柱,C30,PB-1,2024-3-1 09:05,28,2024-03-29 09:05,同级养护,36,2,,");
// Projected to today 15:00, after the clock's 12:00.
const QString kSameToday =
    QStringLiteral("2号梁,C35,PB-2,2024-2-9 15:00,32,2024-03-12 15:00,同级养护,12,3,,");
const QString kStandard =
    QStringLiteral("3号板,C30,PB-3,2024-3-3 10:00,7,2024-03-10 10:00,标准养护,8,1,,");

// 20 ℃ every day from 1 January to 31 March.
QByteArray mildLog() {
    QByteArray log;
    for (QDate d(2024, 1, 1); d <= QDate(2024, 3, 31); d = d.addDays(1))
        log += d.toString(Qt::ISODate).toLatin1() + ",20\r\n";
    return log;
}

// At 2024-03-10 12:00, with the log as qw.csv (a null one: no qw.csv).
struct Fixture : WindowFixture {
    PlanningWindow* planning = nullptr;

    explicit Fixture(const QStringList& lines, const QByteArray& log = mildLog())
        : WindowFixture(lines) {
        clock.set(QDateTime(QDate(2024, 3, 10), QTime(12, 0)));
        writeRaw(path("qw.csv"), log);
        installPlanningCommand(*window);
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Opens the window from the menu and waits for its first read.
    void open() {
        action("syjh")->trigger();
        planning = window->findChild<PlanningWindow*>();
        QVERIFY(QSignalSpy(planning, &PlanningWindow::refreshed).wait(5000));
    }
    QString recordCell(int row, int column) const {
        return planning->curingTab()->recordModel()->index(row, column).data().toString();
    }
};

}  // namespace

class TestPlanningWindow : public QObject {
    Q_OBJECT
  private slots:
    // 是 to 更新到期时间 at 16:00, one projection already past; or with a.bz changed since it was
    // read.
    void update_data() {
        QTest::addColumn<bool>("changedMeanwhile");
        QTest::addColumn<QStringList>("said");
        const QString ask = QStringLiteral(
            "将按等效养护龄期更新 2 条同条件养护记录的龄期和到期时间，其余内容不变。是否继续？\n"
            "其中 1 条的推算到期时间已过，1 条今天到期，更新后将补发提醒，请尽快安排试验。");
        QTest::newRow("written") << false << QStringList{ask};
        QTest::newRow("a.bz changed after it was read")
            << true
            << QStringList{ask,
                           "数据文件在此期间已被修改，未作任何改动。已重新读取，请核对后再更新。"};
    }
    void update() {
        QFETCH(bool, changedMeanwhile);
        Fixture f({kStandard, kSame, kSameToday});
        f.start();
        f.open();
        QCOMPARE(f.recordCell(1, 3), "580");  // 29 days at 20 ℃ before today
        f.clock.set(QDateTime(QDate(2024, 3, 10), QTime(16, 0)));
        if (changedMeanwhile) f.write({kStandard, kSame, kSameToday, kStandard});
        const QByteArray before = f.read();
        QSignalSpy read(f.planning, &PlanningWindow::refreshed);
        f.planning->updateDueTimes();
        QVERIFY(read.wait(5000));
        QTEST(f.messages.texts(), "said");
        if (changedMeanwhile) {
            QCOMPARE(f.read(), before);
            return;
        }
        QCOMPARE(
            f.read(),
            Fixture::encode(
                {kStandard,
                 QString(kSame).replace(",28,2024-03-29 09:05,", ",30,2024-03-31 09:05,"),
                 QString(kSameToday).replace(",32,2024-03-12 15:00,", ",30,2024-03-10 15:00,")}));
        QCOMPARE(f.column(1), QStringList({"3号板", "2号梁", ""}));  // today's list follows
        QVERIFY(f.planning->curingTab()->recordModel()->changes().isEmpty());
    }

    // Lines it cannot read stay where they stood.
    void logChangesAreSaved() {
        Fixture f({kSame}, gbk::encode(u"日期,日平均气温\r\n2024-03-01,20\r\n坏行\r\n"));
        f.open();
        CuringTab* tab = f.planning->curingTab();
        TemperatureLogModel* log = tab->logModel();
        QVERIFY(log->setData(log->index(0, 1), "-1.5", Qt::EditRole));
        QCOMPARE(readRaw(f.path("qw.csv")),
                 gbk::encode(u"日期,日平均气温\r\n2024-03-01,-1.5\r\n坏行\r\n"));

        QVERIFY(writeRaw(f.path("import.csv"), "2024/3/2,3\n2024-03-01,4\nx,y\n"));
        tab->importFile(f.path("import.csv"));
        QCOMPARE(f.messages.texts(), QStringList{"已导入 2 行气温，跳过 1 行无法识别的内容。"});
        QCOMPARE(readRaw(f.path("qw.csv")),
                 gbk::encode(u"日期,日平均气温\r\n2024-03-01,4\r\n坏行\r\n2024-03-02,3\r\n"));
        QCOMPARE(f.recordCell(0, 8), "是");  // estimated from 3 March on
    }

    void unreadableLogIsNeverOverwritten() {
        Fixture f({kSame}, QByteArray());
        QVERIFY(QDir(f.dir.path()).mkdir("qw.csv"));
        f.open();
        CuringTab* tab = f.planning->curingTab();
        QVERIFY(writeRaw(f.path("import.csv"), "2024-03-01,4\n"));
        tab->importFile(f.path("import.csv"));
        QVERIFY(!tab->logModel()->setData(tab->logModel()->index(0, 1), "3", Qt::EditRole));
        QCOMPARE(tab->logModel()->rowCount(), 0);
        QVERIFY(QFileInfo(f.path("qw.csv")).isDir());
        QCOMPARE(f.recordCell(0, 9), "没有气温记录");
    }
};

QTEST_MAIN(TestPlanningWindow)
#include "tst_planningwindow.moc"
