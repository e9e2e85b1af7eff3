// The 试验计划 window inside the main window: 更新到期时间 from the question to today's list, and
// the temperature log's edits and import written to qw.csv, never over one it cannot read.

#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

#include "mainwindow/windowfixture.h"
#include "planning/curingchart.h"
#include "planning/curingtab.h"
#include "planning/planningcommand.h"
#include "planning/planningwindow.h"
#include "planning/sameconditionmodel.h"
#include "planning/temperaturelogmodel.h"
#include "planning/weekaheadexport.h"
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

// 20 ℃ every day from 1 January to the last day, 31 March by default.
QByteArray mildLog(QDate last = QDate(2024, 3, 31)) {
    QByteArray log;
    for (QDate d(2024, 1, 1); d <= last; d = d.addDays(1))
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
    // read; or with the log ending on 20 March, so that one projection rests on estimates.
    void update_data() {
        QTest::addColumn<bool>("changedMeanwhile");
        QTest::addColumn<int>("loggedUntil");  // the last day of March in the log
        QTest::addColumn<QStringList>("said");
        const QString ask = QStringLiteral(
            "将按等效养护龄期更新 2 条同条件养护记录的龄期和到期时间，其余内容不变。是否继续？");
        const QString passed = QStringLiteral(
            "\n其中 1 条的推算到期时间已过，1 条今天到期，更新后将补发提醒，请尽快安排试验。");
        QTest::newRow("written") << false << 31 << QStringList{ask + passed};
        QTest::newRow("a.bz changed after it was read")
            << true << 31
            << QStringList{ask + passed,
                           "数据文件在此期间已被修改，未作任何改动。已重新读取，请核对后再更新。"};
        QTest::newRow("one on estimated temperatures")
            << false << 20
            << QStringList{ask +
                           "\n其中 1 条的推算用到了估算的气温（缺少记录的日子按此前 7 "
                           "天的平均气温计），记录实际气温后推算结果可能还会改变。" +
                           passed};
    }
    void update() {
        QFETCH(bool, changedMeanwhile);
        QFETCH(int, loggedUntil);
        Fixture f({kStandard, kSame, kSameToday}, mildLog(QDate(2024, 3, loggedUntil)));
        f.start();
        f.open();
        QCOMPARE(f.recordCell(1, SameConditionModel::kSumColumn), "580");  // 29 days at 20 ℃
        QCOMPARE(f.recordCell(0, SameConditionModel::kEstimatedColumn),
                 loggedUntil < 31 ? "是" : "否");
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
        QVERIFY(f.read() != before);  // which bytes change: tst_rawrecords and end to end
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
        QCOMPARE(f.messages.texts(),
                 QStringList{"已导入 2 行气温，跳过 1 行无法识别的内容。\n跳过的行：第 3 行。"});
        QCOMPARE(readRaw(f.path("qw.csv")),
                 gbk::encode(u"日期,日平均气温\r\n2024-03-01,4\r\n坏行\r\n2024-03-02,3\r\n"));
        QCOMPARE(f.recordCell(0, SameConditionModel::kEstimatedColumn), "是");  // from 3 March on
    }

    // The record selected shows its curing in the chart, and stays selected while the log is
    // changed; 含估算 and 说明 are in sight at the window's first size; Enter presses the focused
    // button; the week ahead goes to a CSV file.
    void atTheBench() {
        Fixture f({kStandard, kSame, kSameToday}, mildLog(QDate(2024, 3, 20)));
        f.open();
        CuringTab* tab = f.planning->curingTab();
        f.planning->tabs()->setCurrentWidget(tab);
        QVERIFY(QTest::qWaitForWindowExposed(f.planning));
        QTableView* records = tab->recordView();
        for (int column : {SameConditionModel::kEstimatedColumn, SameConditionModel::kNoteColumn})
            QVERIFY(records->viewport()->rect().contains(
                records->visualRect(records->model()->index(0, column))));
        QCOMPARE(tab->chart()->curve().size(), 0);
        records->selectRow(0);  // cast 1 March: 30 days at 20 ℃, estimated after 20 March
        QCOMPARE(tab->chart()->curve().size(), 60);
        QCOMPARE(tab->chart()->curve().at(29).sumTenths, 6000);
        QCOMPARE(tab->chart()->curve().at(18).estimated, false);
        QCOMPARE(tab->chart()->curve().at(19).estimated, true);
        TemperatureLogModel* log = tab->logModel();
        QVERIFY(log->setData(log->index(log->rowCount() - 1, 1), "10", Qt::EditRole));
        QCOMPARE(records->currentIndex().row(), 0);
        QCOMPARE(tab->chart()->curve().at(18).sumTenths, 3700);  // 20 March now 10 ℃

        tab->logView()->selectRow(0);
        QPushButton* remove = nullptr;
        for (QPushButton* b : tab->findChildren<QPushButton*>())
            if (b->text() == "删除所选") remove = b;
        remove->setFocus();
        f.messages.setAnswer(false);
        QTest::keyClick(remove, Qt::Key_Return);
        QCOMPARE(f.messages.texts(), QStringList{"删除所选的 1 天气温记录？"});

        f.planning->daysBox()->setValue(30);
        QVERIFY(QSignalSpy(f.planning, &PlanningWindow::refreshed).wait(5000));
        QVERIFY(f.planning->weekExport().exportCsv(f.path("清单.csv")));
        QCOMPARE(readRaw(f.path("清单.csv")).count("\r\n"), 1 + 3);  // the 30 days' records
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
        QCOMPARE(f.recordCell(0, SameConditionModel::kNoteColumn), "没有气温记录");
    }
};

QTEST_MAIN(TestPlanningWindow)
#include "tst_planningwindow.moc"
