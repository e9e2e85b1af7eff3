// The main window: start-up states, the captions, the resize rule and 读取数据.

#include <QTimer>

#include "mainwindow/reminderswitch.h"
#include "mainwindow/windowfixture.h"
#include "records/recordgridview.h"

class TestMainWindow : public QObject {
    Q_OBJECT
  private slots:
    void startUpStates_data() {
        QTest::addColumn<QStringList>("lines");  // {"<folder>"}: a.bz is a folder
        QTest::addColumn<int>("rows");
        QTest::newRow("no file") << QStringList() << 2;
        QTest::newRow("a.bz is a folder") << QStringList{"<folder>"} << 2;
        QTest::newRow("nothing due today")
            << QStringList{recordLine("甲", "2024-04-05 09:05")} << 2;
        QTest::newRow("two due today")
            << QStringList{recordLine("甲"), recordLine("乙", "2024-04-04 23:59"), ",,,,,,,,,,"}
            << 4;
    }
    void startUpStates() {
        QFETCH(QStringList, lines);
        QFETCH(int, rows);
        const bool folder = lines == QStringList{"<folder>"};
        WindowFixture f(folder ? QStringList() : lines);
        if (folder) QVERIFY(QDir().mkdir(f.dataPath()));
        f.start();
        const bool scanning = rows > 2;
        QCOMPARE(f.grid().rows(), rows);
        QCOMPARE(f.grid().textMatrix(rows - 1, 0), QString());
        QCOMPARE(f.window->scanTimer()->isActive(), scanning);
        QCOMPARE(f.window->scanTimer()->interval(), scanning ? 5000 : 0);
        QCOMPARE(f.action("kq")->isEnabled(), !scanning);
        QCOMPARE(f.action("bg")->isEnabled(), scanning);
        QCOMPARE(f.messages.messages().size(), folder ? 1 : 0);
        if (folder)
            QVERIFY(f.messages.texts().first().contains(QStringLiteral("无法读取数据文件")));
        QCOMPARE(QFileInfo(f.dataPath()).isDir(), folder);
    }

    void captions() {
        WindowFixture f;
        f.start();
        QCOMPARE(f.window->windowTitle(), QStringLiteral("正在获取正确的版本信息。"));
        f.clock.set(QDateTime(QDate(2024, 4, 4), QTime(9, 5, 0)));
        QTRY_COMPARE_WITH_TIMEOUT(f.window->windowTitle(),
                                  QStringLiteral("Mirosta V2.2  2024-04-04 09:05:00"), 3000);
    }

    void resizeRule_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("designed size") << QSize(872, 530);
        QTest::newRow("too small for the grid") << QSize(1, 1);
    }
    void resizeRule() {
        QFETCH(QSize, size);
        WindowFixture f;
        f.start();
        f.window->setMinimumSize(1, 1);
        f.window->resize(size);
        QTRY_COMPARE(f.window->size(), size);
        // 100 twips across and 950 down less than the outer size, at 15 twips a pixel; at least 1.
        const QSize outer = f.window->frameGeometry().size();
        const QSize grid((outer.width() * 15 - 100) / 15, (outer.height() * 15 - 950) / 15);
        QCOMPARE(f.window->gridView()->size(), size.width() > 100 ? grid : QSize(1, 1));
    }

    void reloadDropsMarksAndColours() {
        WindowFixture f({recordLine("甲"), recordLine("乙", "2024-04-03 09:05")});
        f.start();
        QCOMPARE(f.grid().rows(), 3);
        f.mark(1);
        f.write({recordLine("甲"), recordLine("丙", "2024-04-04 10:00")});
        f.action("dq")->trigger();
        QCOMPARE(f.column(1), (QStringList{"甲", "丙", ""}));
        QCOMPARE(f.column(0), (QStringList{"1", "2", ""}));
        QCOMPARE(f.grid().textMatrix(1, 11), QString());
        QCOMPARE(f.grid().cellForeColor(1, 3), RecordGrid::kDefaultColour);
    }

    // Records that 读取数据 brings when the list was empty at start are watched at once, unless the
    // user stopped the reminders.
    void reloadStartsTheScan_data() {
        QTest::addColumn<bool>("stoppedByUser");
        QTest::newRow("nothing was due at start") << false;
        QTest::newRow("the user stopped the reminders") << true;
    }
    void reloadStartsTheScan() {
        QFETCH(bool, stoppedByUser);
        WindowFixture f;
        new ReminderSwitch(*f.window);
        f.start();
        QVERIFY(!f.window->scanTimer()->isActive());
        if (stoppedByUser) {
            f.action("bg")->setEnabled(true);
            f.action("bg")->trigger();
        }
        f.write({recordLine("甲")});
        f.action("dq")->trigger();
        QCOMPARE(f.window->scanTimer()->isActive(), !stoppedByUser);
        QCOMPARE(f.action("kq")->isEnabled(), stoppedByUser);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
