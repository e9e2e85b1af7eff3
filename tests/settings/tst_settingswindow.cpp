// The settings window on the offscreen platform: the scan interval setting that lives in it, its
// bounds, the start-at-login box and the window's life (hidden by 设置, discarded by closing).

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "settings/fakeautostart.h"
#include "settings/settingscommands.h"
#include "settings/settingswindow.h"

namespace {

const QDateTime kNow(QDate(2024, 4, 4), QTime(9, 5, 30));
const QString kLargeNote =
    QStringLiteral("最好不要设置的太大 不然每次都会有误差，当误差大了就是错误。");

}  // namespace

class TestSettingsWindow : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir m_dir;
    FixedClock m_clock{kNow};
    RecordingMessageService m_messages;
    std::unique_ptr<FakeAutostart> m_autostart;
    std::unique_ptr<MainWindow> m_window;
    SettingsCommands* m_commands = nullptr;

    SettingsWindow* openSettings() {
        m_window->action(QStringLiteral("sz"))->trigger();
        return m_commands->existingWindow();
    }
    static void type(SettingsWindow* settings, const QString& text) {
        settings->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(text);
    }
    static void clickApply(SettingsWindow* settings) {
        settings->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    }
    static void discard(SettingsWindow* settings) {
        QPointer<SettingsWindow> gone(settings);
        settings->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!gone);
    }

  private slots:
    void init() {
        m_messages.clear();
        m_autostart = std::make_unique<FakeAutostart>();
        m_window = std::make_unique<MainWindow>(AppPaths(m_dir.path()), m_clock, m_messages);
        m_commands = new SettingsCommands(*m_window, *m_autostart);
    }
    void cleanup() { m_window.reset(); }

    void layoutAndCaptions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("Label1") << "Label1"
                                << "刷新设置:";
        QTest::newRow("Text1") << "Text1"
                               << "5000";
        QTest::newRow("Label2") << "Label2"
                                << "毫秒";
        QTest::newRow("Check1") << "Check1"
                                << "设置开机自启动";
        QTest::newRow("Command1") << "Command1"
                                  << "设置";
    }
    void layoutAndCaptions() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        SettingsWindow* settings = openSettings();
        QCOMPARE(settings->objectName(), QStringLiteral("Form4"));
        QCOMPARE(settings->windowTitle(), QStringLiteral("设置"));
        QCOMPARE(settings->size(), QSize(225, 113));
        auto* frame = settings->findChild<QGroupBox*>(QStringLiteral("Frame1"));
        QVERIFY(frame);
        QCOMPARE(frame->title(), QStringLiteral("设置选项"));
        QVERIFY(frame->font().bold());
        QCOMPARE(frame->font().pointSize(), 12);

        QWidget* control = frame->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->property("text").toString(), text);
        // The controls keep the window's small font, not the frame's title font.
        QCOMPARE(control->font().pointSize(), 9);
        QVERIFY(!control->font().bold());
        // Every control lies inside the frame.
        QVERIFY(frame->rect().contains(control->geometry()));
    }

    void shownModallyByTheMainWindow() {
        SettingsWindow* settings = openSettings();
        QVERIFY(settings->isVisible());
        QVERIFY(settings->isModal());
        QVERIFY(settings->isWindow());
        QCOMPARE(settings->parentWidget(), m_window.get());
        // Opening it again uses the same window.
        QCOMPARE(openSettings(), settings);
    }

    void readingTheSettingCreatesTheWindowHidden() {
        QVERIFY(!m_commands->existingWindow());
        QCOMPARE(m_window->scanIntervalText(), QStringLiteral("5000"));
        QVERIFY(m_commands->existingWindow());
        QVERIFY(!m_commands->existingWindow()->isVisible());
    }

    void appliedIntervalIsKeptInTheHiddenWindow() {
        SettingsWindow* settings = openSettings();
        type(settings, QStringLiteral("10000"));
        const bool kqBefore = m_window->action(QStringLiteral("kq"))->isEnabled();
        const bool bgBefore = m_window->action(QStringLiteral("bg"))->isEnabled();
        clickApply(settings);

        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().title, QStringLiteral("提示"));
        QCOMPARE(m_messages.messages().first().text, kLargeNote);
        QCOMPARE(m_messages.messages().first().icon, MessageIcon::None);
        QVERIFY(m_window->scanTimer()->isActive());
        QCOMPARE(m_window->scanTimer()->interval(), 10000);
        QVERIFY(!settings->isVisible());
        // 设置 leaves 开启提醒 and 停止提醒 alone.
        QCOMPARE(m_window->action(QStringLiteral("kq"))->isEnabled(), kqBefore);
        QCOMPARE(m_window->action(QStringLiteral("bg"))->isEnabled(), bgBefore);

        // Stopping and reading the setting again gives the hidden window's text.
        m_window->setScanInterval(0);
        QCOMPARE(m_window->scanIntervalText(), QStringLiteral("10000"));
        QCOMPARE(m_commands->existingWindow(), settings);
        // Reopened, it still shows it.
        QCOMPARE(openSettings(), settings);
        QCOMPARE(settings->intervalText(), QStringLiteral("10000"));
    }

    void closeControlDiscardsTheText() {
        SettingsWindow* settings = openSettings();
        type(settings, QStringLiteral("10000"));
        discard(settings);
        QVERIFY(!m_commands->existingWindow());
        QCOMPARE(m_window->scanIntervalText(), QStringLiteral("5000"));
        QVERIFY(m_messages.messages().isEmpty());
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
        QTest::newRow("half to even at the top") << "60000.5" << 60000;
        QTest::newRow("rounds above the top") << "60000.6" << -1;
        QTest::newRow("full-width digits") << "５０００" << -1;
    }
    void intervalBounds() {
        QFETCH(QString, text);
        QFETCH(int, applied);
        m_window->setScanInterval(3000);
        SettingsWindow* settings = openSettings();
        type(settings, text);
        clickApply(settings);

        QCOMPARE(m_messages.messages().size(), 1);
        const RecordingMessageService::Message message = m_messages.messages().first();
        QCOMPARE(message.title, QStringLiteral("提示"));
        if (applied < 0) {
            QCOMPARE(message.text, QStringLiteral("刷新间隔必须是 0 到 60000 之间的整数毫秒（0 "
                                                  "表示停止提醒扫描）。\n刷新间隔未作改动。"));
            QCOMPARE(message.icon, MessageIcon::Warning);
            QCOMPARE(m_window->scanTimer()->interval(), 3000);
            QVERIFY(m_window->scanTimer()->isActive());
            QVERIFY(settings->isVisible());
        } else {
            QCOMPARE(message.text, kLargeNote);
            QCOMPARE(m_window->scanTimer()->isActive(), applied > 0);
            if (applied > 0) QCOMPARE(m_window->scanTimer()->interval(), applied);
            QVERIFY(!settings->isVisible());
        }
    }

    void autostartBoxShowsTheEntry_data() {
        QTest::addColumn<bool>("registered");
        QTest::newRow("entry exists") << true;
        QTest::newRow("no entry") << false;
    }
    void autostartBoxShowsTheEntry() {
        QFETCH(bool, registered);
        m_autostart->setState(registered);
        SettingsWindow* settings = openSettings();
        auto* box = settings->findChild<QCheckBox*>(QStringLiteral("Check1"));
        QCOMPARE(box->isChecked(), registered);

        // Changed elsewhere while the window was hidden: reopening shows the change.
        clickApply(settings);
        m_autostart->setState(!registered);
        openSettings();
        QCOMPARE(box->isChecked(), !registered);
        QCOMPARE(m_autostart->writes(), 0);
    }

    void checkingWritesClearingRemoves() {
        SettingsWindow* settings = openSettings();
        auto* box = settings->findChild<QCheckBox*>(QStringLiteral("Check1"));
        box->click();
        QVERIFY(m_autostart->isEnabled());
        QVERIFY(box->isChecked());
        box->click();
        QVERIFY(!m_autostart->isEnabled());
        QVERIFY(!box->isChecked());
        QCOMPARE(m_autostart->writes(), 2);
        QVERIFY(m_messages.messages().isEmpty());
    }

    void failedWriteIsReportedAndTheBoxShowsTheTruth_data() {
        QTest::addColumn<bool>("registered");
        QTest::addColumn<QString>("text");
        QTest::newRow("checking fails") << false << "未能设置开机自启动。\n拒绝访问。";
        QTest::newRow("clearing fails") << true << "未能取消开机自启动。\n拒绝访问。";
    }
    void failedWriteIsReportedAndTheBoxShowsTheTruth() {
        QFETCH(bool, registered);
        QFETCH(QString, text);
        m_autostart->setState(registered);
        m_autostart->setFailWrites(true);
        SettingsWindow* settings = openSettings();
        auto* box = settings->findChild<QCheckBox*>(QStringLiteral("Check1"));
        box->click();
        QCOMPARE(m_autostart->writes(), 1);
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text, text);
        QCOMPARE(m_messages.messages().first().icon, MessageIcon::Warning);
        QCOMPARE(box->isChecked(), registered);
        QVERIFY(settings->isVisible());
    }
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
