// The 帮助 menu: the about box, and the upgrade item with and without an address.

#include "mainwindow/windowfixture.h"
#include "settings/helpcommands.h"
#include "settings/recordingurlopener.h"

class TestHelpCommands : public QObject {
    Q_OBJECT
  private slots:
    void aboutBox() {
        const QString text = QStringLiteral(
            "软件名称：Mirosta   版本号：2.2\r\n\r\n-------------- 更新信息 --------------\r\n"
            "1：修复了软件存数Bug\r\n2：增加了托盘显示\r\n"
            "3：增加了开机自启动\r\n4：修改了提示样式");
        WindowFixture f;
        RecordingUrlOpener opener;
        new HelpCommands(*f.window, opener, QStringLiteral("12345678"), QString());
        f.action("gy")->trigger();
        QCOMPARE(f.messages.texts(), QStringList{text + "\r\n\r\n联系作者获得支持？ QQ：12345678"});
        QCOMPARE(f.messages.messages().first().title, QStringLiteral("此版本信息"));
        QCOMPARE(HelpCommands::aboutText(QString()), text);  // without a contact
    }

    void upgradeItem_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("browserOpens");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("no address") << QString() << true << false;
        QTest::newRow("blank address") << " " << true << false;
        QTest::newRow("web page") << "https://example.org/up?from=2.2" << true << true;
        QTest::newRow("browser fails") << "https://example.org/up" << false << true;
    }
    void upgradeItem() {
        QFETCH(QString, address);
        QFETCH(bool, browserOpens);
        QFETCH(bool, enabled);
        WindowFixture f;
        RecordingUrlOpener opener;
        opener.setSucceed(browserOpens);
        new HelpCommands(*f.window, opener, QString(), address);
        QCOMPARE(f.action("sj")->isEnabled(), enabled);
        f.action("sj")->trigger();  // a disabled item does nothing
        QCOMPARE(opener.opened(), enabled ? QList<QUrl>{QUrl(address)} : QList<QUrl>{});
        QCOMPARE(f.messages.messages().size(), browserOpens ? 0 : 1);
        if (!browserOpens) QVERIFY(f.messages.texts().first().contains(address));
    }
};

QTEST_MAIN(TestHelpCommands)
#include "tst_helpcommands.moc"
