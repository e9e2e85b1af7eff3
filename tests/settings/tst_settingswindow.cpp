// The settings window: the scan interval kept in it and from run to run, its bounds, its keys and
// the start-at-login box.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "mainwindow/reminderswitch.h"
#include "mainwindow/windowfixture.h"
#include "settings/fakeautostart.h"
#include "settings/settingscommands.h"
#include "settings/settingswindow.h"

namespace {
const QString kLargeNote =
    QStringLiteral("最好不要设置的太大 不然每次都会有误差，当误差大了就是错误。");
}

class TestSettingsWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowFixture> m_f;
    FakeAutostart m_autostart;
    SettingsCommands* m_commands = nullptr;

    // Opens the settings window and, unless the text is null, types it and clicks 设置.
    SettingsWindow* openAndApply(const QString& text = QString()) {
        m_f->action("sz")->trigger();
        SettingsWindow* settings = m_commands->existingWindow();
        if (text.isNull()) return settings;
        settings->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(text);
        settings->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        return settings;
    }
    // The interval the scan of the next run starts with: a main window over the same folder.
    int nextRunInterval() {
        MainWindow next(AppPaths(m_f->dir.path()), m_f->clock, m_f->messages);
        new ReminderSwitch(next);
        auto* commands = new SettingsCommands(next, m_autostart);
        next.startUp();
        const int interval = next.scanTimer()->interval();
        if (commands->existingWindow()->intervalText() != QString::number(interval)) return -1;
        return interval;
    }
    // 停止提醒 then 开启提醒: the interval the scan restarts with.
    int restartScan() {
        m_f->action("bg")->trigger();
        m_f->action("kq")->trigger();
        return m_f->window->scanTimer()->interval();
    }

  private slots:
    void init() {
        m_f = std::make_unique<WindowFixture>(QStringList{recordLine("A", "2024-04-04 23:59")});
        m_autostart = FakeAutostart();
        new ReminderSwitch(*m_f->window);
        m_commands = new SettingsCommands(*m_f->window, m_autostart);
        m_f->start();
    }

    void appliedIntervalIsKeptInTheHiddenWindow() {
        SettingsWindow* settings = openAndApply(QStringLiteral("10000"));
        QCOMPARE(m_f->messages.texts(), QStringList{kLargeNote});
        QVERIFY(!settings->isVisible());
        QCOMPARE(m_f->window->scanTimer()->interval(), 10000);
        QVERIFY(!m_f->action("kq")->isEnabled());  // 设置 leaves 开启提醒 alone
        QCOMPARE(restartScan(), 10000);
        QCOMPARE(openAndApply(), settings);
        QCOMPARE(settings->intervalText(), QStringLiteral("10000"));
    }

    void closeControlDiscardsTheText() {
        QPointer<SettingsWindow> settings = openAndApply();
        settings->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("10000"));
        settings->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!settings);
        QCOMPARE(restartScan(), 5000);
        QVERIFY(!m_commands->existingWindow()->isVisible());  // reading it shows no window
    }

    void intervalBounds_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("applied");  // -1: refused
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("zero stops the scan") << "0" << 0;
        QTest::newRow("one minute") << "60000" << 60000;
        QTest::newRow("above one minute") << "60001" << -1;
        QTest::newRow("letters") << "abc" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("blank before, unit after") << " 7000ms" << 7000;
        QTest::newRow("half to even") << "1500.5" << 1500;
        QTest::newRow("rounds above the top") << "60000.6" << -1;
        QTest::newRow("full-width digits") << "５０００" << -1;
    }
    void intervalBounds() {
        QFETCH(QString, text);
        QFETCH(int, applied);
        m_f->window->setScanInterval(3000);
        SettingsWindow* settings = openAndApply(text);
        const QString refusal = QStringLiteral(
            "刷新间隔必须是 0 到 60000 之间的整数毫秒（0 表示停止提醒扫描）。\n刷新间隔未作改动。");
        QCOMPARE(m_f->messages.texts(), QStringList{applied < 0 ? refusal : kLargeNote});
        QCOMPARE(settings->isVisible(), applied < 0);
        QCOMPARE(m_f->window->scanTimer()->isActive(), applied != 0);
        QCOMPARE(m_f->window->scanTimer()->interval(), applied < 0 ? 3000 : applied);
    }

    // Whatever the file holds, the next run starts with a valid interval, without a word.
    void storedInterval_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("interval");
        QTest::newRow("7000") << QByteArray("[scan]\nintervalMs=7000\n") << 7000;
        QTest::newRow("0") << QByteArray("[scan]\nintervalMs=0\n") << 5000;
        QTest::newRow("above a minute") << QByteArray("[scan]\nintervalMs=60001\n") << 5000;
        QTest::newRow("a unit after it") << QByteArray("[scan]\nintervalMs=7000ms\n") << 5000;
        QTest::newRow("a list") << QByteArray("[scan]\nintervalMs=7000, 8000\n") << 5000;
        QTest::newRow("no section") << QByteArray("intervalMs=7000\n") << 5000;
        QTest::newRow("binary junk")
            << QByteArray("\x00\xff[scan\n\x01intervalMs\xfe=", 16) << 5000;
    }
    void storedInterval() {
        QFETCH(QByteArray, ini);
        QFETCH(int, interval);
        QFile file(m_f->dir.filePath(QStringLiteral("mirosta.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size());
        file.close();
        m_f->messages.clear();
        QCOMPARE(nextRunInterval(), interval);
        QVERIFY(m_f->messages.messages().isEmpty());
    }

    // Enter in the interval applies it, for the next run too; Esc closes the window without
    // applying. 0 stops the scan of this run only.
    void keys() {
        QPointer<SettingsWindow> settings = openAndApply();
        auto* text = settings->findChild<QLineEdit*>(QStringLiteral("Text1"));
        text->setText(QStringLiteral("8000"));
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(m_f->window->scanTimer()->interval(), 8000);
        QVERIFY(!settings->isVisible());
        openAndApply();
        text->setText(QStringLiteral("9000"));
        QTest::keyClick(text, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!settings);
        QCOMPARE(m_f->window->scanTimer()->interval(), 8000);
        QCOMPARE(restartScan(), 8000);
        openAndApply(QStringLiteral("0"));
        QVERIFY(!m_f->window->scanTimer()->isActive());
        QCOMPARE(nextRunInterval(), 8000);
    }

    void autostartBox_data() {
        QTest::addColumn<bool>("registered");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("checking writes") << false << false << QStringList{};
        QTest::newRow("clearing removes") << true << false << QStringList{};
        QTest::newRow("checking fails")
            << false << true << QStringList{"未能设置开机自启动。\n拒绝访问。"};
        QTest::newRow("clearing fails")
            << true << true << QStringList{"未能取消开机自启动。\n拒绝访问。"};
    }
    void autostartBox() {
        QFETCH(bool, registered);
        QFETCH(bool, fails);
        QFETCH(QStringList, messages);
        m_autostart.setState(registered);
        m_autostart.setFailWrites(fails);
        SettingsWindow* settings = openAndApply();
        auto* box = settings->findChild<QCheckBox*>(QStringLiteral("Check1"));
        QCOMPARE(box->isChecked(), registered);
        box->click();
        QCOMPARE(m_autostart.writes(), 1);
        QCOMPARE(m_autostart.isEnabled(), fails ? registered : !registered);
        QCOMPARE(box->isChecked(), m_autostart.isEnabled());
        QCOMPARE(m_f->messages.texts(), messages);
        settings->hide();  // changed elsewhere meanwhile: reopening shows it
        m_autostart.setState(!m_autostart.isEnabled());
        openAndApply();
        QCOMPARE(box->isChecked(), m_autostart.isEnabled());
    }
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
