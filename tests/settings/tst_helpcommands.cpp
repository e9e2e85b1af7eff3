// The 帮助 menu: the about text and box, and the upgrade item with and without an address.

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "settings/helpcommands.h"
#include "settings/recordingurlopener.h"

class TestHelpCommands : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir m_dir;
    FixedClock m_clock{QDateTime(QDate(2024, 4, 4), QTime(9, 5))};
    RecordingMessageService m_messages;
    RecordingUrlOpener m_opener;

    std::unique_ptr<MainWindow> makeWindow() {
        m_messages.clear();
        m_opener = RecordingUrlOpener();
        return std::make_unique<MainWindow>(AppPaths(m_dir.path()), m_clock, m_messages);
    }

  private slots:
    void aboutText() {
        QCOMPARE(HelpCommands::aboutText(QStringLiteral("12345678")),
                 QStringLiteral("软件名称：Mirosta   版本号：2.2\r\n"
                                "\r\n"
                                "-------------- 更新信息 --------------\r\n"
                                "1：修复了软件存数Bug\r\n"
                                "2：增加了托盘显示\r\n"
                                "3：增加了开机自启动\r\n"
                                "4：修改了提示样式\r\n"
                                "\r\n"
                                "联系作者获得支持？ QQ：12345678"));
    }

    void aboutTextWithoutContactEndsWithTheChangeList() {
        const QString text = HelpCommands::aboutText(QString());
        QVERIFY(text.endsWith(QStringLiteral("4：修改了提示样式")));
        QCOMPARE(text.split(QStringLiteral("\r\n")).size(), 7);
    }

    void aboutBox() {
        auto window = makeWindow();
        new HelpCommands(*window, m_opener, QStringLiteral("12345678"), QString());
        window->action(QStringLiteral("gy"))->trigger();
        QCOMPARE(m_messages.messages().size(), 1);
        const auto message = m_messages.messages().first();
        QCOMPARE(message.title, QStringLiteral("此版本信息"));
        QCOMPARE(message.icon, MessageIcon::Information);
        QCOMPARE(message.text, HelpCommands::aboutText(QStringLiteral("12345678")));
    }

    void upgradeItem_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("no address") << QString() << false;
        QTest::newRow("blank address") << " " << false;
        QTest::newRow("web page") << "https://example.org/mirosta/upgrade?from=2.2" << true;
    }
    void upgradeItem() {
        QFETCH(QString, address);
        QFETCH(bool, enabled);
        auto window = makeWindow();
        new HelpCommands(*window, m_opener, QString(), address);
        QAction* sj = window->action(QStringLiteral("sj"));
        QCOMPARE(sj->isEnabled(), enabled);
        sj->trigger();  // a disabled action does nothing
        if (enabled) {
            QCOMPARE(m_opener.opened(), QList<QUrl>{QUrl(address)});
        } else {
            QVERIFY(m_opener.opened().isEmpty());
        }
        QVERIFY(m_messages.messages().isEmpty());
    }

    void upgradePageThatCannotBeOpenedIsReported() {
        auto window = makeWindow();
        m_opener.setSucceed(false);
        new HelpCommands(*window, m_opener, QString(), QStringLiteral("https://example.org/up"));
        window->action(QStringLiteral("sj"))->trigger();
        QCOMPARE(m_messages.messages().size(), 1);
        QVERIFY(
            m_messages.messages().first().text.contains(QStringLiteral("https://example.org/up")));
    }
};

QTEST_MAIN(TestHelpCommands)
#include "tst_helpcommands.moc"
