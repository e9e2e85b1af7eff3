// The scan interval: its bounds, how the settings window applies it, and what the next run starts
// with.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>

#include "mainwindow/reminderswitch.h"
#include "mainwindow/windowfixture.h"
#include "reminders/reminderfiles.h"
#include "settings/fakeautostart.h"
#include "settings/programsettings.h"
#include "settings/scaninterval.h"
#include "settings/settingscommands.h"
#include "settings/settingstexts.h"
#include "settings/settingswindow.h"

using namespace settingstexts;

class TestSettingsWindow : public QObject {
    Q_OBJECT
    FakeAutostart m_autostart;

  private slots:
    void intervalText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval");  // -1: refused
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("one minute") << "60000" << 60000;
        QTest::newRow("above one minute") << "60001" << -1;
        QTest::newRow("rounds above the top") << "60000.6" << -1;
        QTest::newRow("letters") << "abc" << -1;
        QTest::newRow("full-width digits") << "５０００" << -1;
    }
    void intervalText() {
        QFETCH(QString, text);
        QTEST(readScanInterval(text).value_or(-1), "interval");
    }

    // A damaged or out-of-range interval in the file gives the default.
    void storedInterval_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("interval");
        QTest::newRow("0") << QByteArray("[scan]\nintervalMs=0\n") << 5000;
        QTest::newRow("above a minute") << QByteArray("[scan]\nintervalMs=60001\n") << 5000;
        QTest::newRow("a unit after it") << QByteArray("[scan]\nintervalMs=7000ms\n") << 5000;
        QTest::newRow("no section") << QByteArray("intervalMs=7000\n") << 5000;
        QTest::newRow("binary junk")
            << QByteArray("\x00\xff[scan\n\x01intervalMs\xfe=", 16) << 5000;
    }
    void storedInterval() {
        QFETCH(QByteArray, ini);
        QTemporaryDir dir;
        QVERIFY(reminderfiles::writeRaw(dir.filePath("mirosta.ini"), ini));
        QTEST(ProgramSettings(dir.filePath("mirosta.ini")).scanInterval(), "interval");
    }

    // With 3000 applied before: 设置 and Enter apply the text for this run and the next (0 for this
    // run only), and the text stays in the hidden window, where 开启提醒 reads it. Esc discards it;
    // a refused text left in the open window is never read.
    void applyInterval_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key");  // 0: 设置 clicked
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("interval");  // of the scan afterwards, 0: stopped
        QTest::addColumn<int>("nextRun");
        const QString refused = kIntervalOutOfRange.arg(kMaxScanIntervalMs);
        const int enter = Qt::Key_Return, esc = Qt::Key_Escape;
        QTest::newRow("设置") << "10000" << 0 << kLargeIntervalNote << 10000 << 10000;
        QTest::newRow("Enter") << "10000" << enter << kLargeIntervalNote << 10000 << 10000;
        QTest::newRow("0 stops this run only") << "0" << 0 << kLargeIntervalNote << 0 << 3000;
        QTest::newRow("above a minute refused") << "60001" << 0 << refused << 3000 << 3000;
        QTest::newRow("Esc discards the text") << "10000" << esc << "" << 3000 << 3000;
    }
    void applyInterval() {
        QFETCH(QString, text);
        QFETCH(int, key);
        QFETCH(QString, said);
        QFETCH(int, interval);
        WindowFixture f({recordLine("A", "2024-04-04 23:59")});
        new ReminderSwitch(*f.window);
        auto* commands = new SettingsCommands(*f.window, m_autostart);
        f.start();
        f.action("sz")->trigger();
        QPointer<SettingsWindow> settings = commands->existingWindow();
        auto* box = settings->findChild<QLineEdit*>(QStringLiteral("Text1"));
        auto* apply = settings->findChild<QPushButton*>(QStringLiteral("Command1"));
        box->setText(QStringLiteral("3000"));
        apply->click();
        f.action("sz")->trigger();
        f.messages.clear();
        box->setText(text);
        key ? QTest::keyClick(box, Qt::Key(key)) : apply->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        const bool refused = said == kIntervalOutOfRange.arg(kMaxScanIntervalMs);
        QCOMPARE(f.messages.texts(), said.isEmpty() ? QStringList() : QStringList{said});
        QCOMPARE(settings && settings->isVisible(), refused);
        QCOMPARE(f.window->scanTimer()->interval(), interval);
        QCOMPARE(f.window->scanTimer()->isActive(), interval > 0);
        if (interval > 0) {  // 停止提醒 and 开启提醒 take the interval kept
            f.action("bg")->trigger();
            f.action("kq")->trigger();
            QCOMPARE(f.window->scanTimer()->interval(), interval);
        }
        MainWindow next(AppPaths(f.dir.path()), f.clock, f.messages);
        new SettingsCommands(next, m_autostart);
        next.startUp();
        next.waitForTodayList();
        QTEST(next.scanTimer()->interval(), "nextRun");
    }

    // The alert sound and the advance notice are kept by 设置 and shown again by the next window;
    // the reminders are told.
    void reminderSettings() {
        WindowFixture f;
        auto* commands = new SettingsCommands(*f.window, m_autostart);
        f.start();
        f.action("sz")->trigger();
        SettingsWindow* settings = commands->existingWindow();
        QVERIFY(settings->findChild<QCheckBox*>("Check2")->isChecked());
        QCOMPARE(settings->findChild<QSpinBox*>("Text2")->value(), 0);
        settings->findChild<QCheckBox*>("Check2")->setChecked(false);
        settings->findChild<QSpinBox*>("Text2")->setValue(15);
        QSignalSpy told(f.window.get(), &MainWindow::settingsChanged);
        settings->findChild<QPushButton*>("Command1")->click();
        QCOMPARE(told.size(), 1);
        const ProgramSettings kept(f.dir.filePath("mirosta.ini"));
        QCOMPARE(kept.alertSound(), false);
        QCOMPARE(kept.advanceMinutes(), 15);
        SettingsWindow next(*f.window, m_autostart);
        QVERIFY(!next.findChild<QCheckBox*>("Check2")->isChecked());
        QCOMPARE(next.findChild<QSpinBox*>("Text2")->value(), 15);
    }
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
