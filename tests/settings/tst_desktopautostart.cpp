// The freedesktop autostart entry: its name and Exec line, the whole file, its removal, where it
// goes without $XDG_CONFIG_HOME and a folder that cannot be made.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "settings/desktopautostart.h"

class TestDesktopAutostart : public QObject {
    Q_OBJECT
    QTemporaryDir m_config;

  private slots:
    void init() { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }

    void entryForProgramPath_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("exec");
        auto row = [](const char* name, QString program, QString entry, QString exec) {
            QTest::newRow(name) << program << entry << exec;
        };
        row("space", "/a b/mirosta", "mirosta.desktop", "Exec=\"/a b/mirosta\"");
        row("double quote", "/a\"b/mirosta", "mirosta.desktop", "Exec=\"/a\\\\\"b/mirosta\"");
        row("dollar", "/$HOME/mirosta", "mirosta.desktop", "Exec=\"/\\\\$HOME/mirosta\"");
        row("backslash", "/a\\b/mirosta", "mirosta.desktop", "Exec=\"/a\\\\\\\\b/mirosta\"");
        row("backtick", "/`id`/mirosta", "mirosta.desktop", "Exec=\"/\\\\`id\\\\`/mirosta\"");
        row("percent", "/100%u/mirosta", "mirosta.desktop", "Exec=\"/100%%u/mirosta\"");
        row("Chinese, extension", "/张/提醒 v2.bin", "提醒 v2.bin.desktop",
            "Exec=\"/张/提醒 v2.bin\"");
    }
    void entryForProgramPath() {
        QFETCH(QString, program);
        QFETCH(QString, entry);
        QFETCH(QString, exec);
        DesktopAutostart autostart(program);
        QCOMPARE(autostart.entryPath(), m_config.path() + "/autostart/" + entry);
        QVERIFY(QString::fromUtf8(autostart.entryContent()).split(u'\n').contains(exec));
    }

    void writesTheWholeEntryAndRemovesIt() {
        DesktopAutostart autostart(QStringLiteral("/home/li ming/a\"$\\/mirosta"));
        QFile file(m_config.path() + "/autostart/mirosta.desktop");
        QString error;
        QVERIFY(!autostart.isEnabled());
        QVERIFY2(autostart.setEnabled(true, &error), qPrintable(error));
        QVERIFY(autostart.setEnabled(true, &error));  // over an existing entry
        QVERIFY(autostart.isEnabled());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Desktop Entry]\nType=Application\nName=Mirosta\n"
                                            "Exec=\"/home/li ming/a\\\\\"\\\\$\\\\\\\\/mirosta\""
                                            "\nX-GNOME-Autostart-enabled=true\n"));
        file.close();
        QVERIFY(autostart.setEnabled(false, &error));
        QVERIFY(!file.exists());
        QVERIFY(!autostart.isEnabled());
        QVERIFY(autostart.setEnabled(false, &error));  // nothing left to remove
    }

    void configHomeFallsBackToDotConfig_data() {
        QTest::addColumn<QByteArray>("xdg");
        QTest::newRow("unset") << QByteArray();
        QTest::newRow("relative path") << QByteArray("relative/config");
    }
    void configHomeFallsBackToDotConfig() {
        QFETCH(QByteArray, xdg);
        xdg.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", xdg);
        QCOMPARE(DesktopAutostart(QStringLiteral("/opt/m/mirosta")).entryPath(),
                 QDir::homePath() + "/.config/autostart/mirosta.desktop");
    }

    void unwritableFolderIsReported() {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        QFile blocker(config.path() + "/autostart");  // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString error;
        QVERIFY(!DesktopAutostart(QStringLiteral("/opt/m/mirosta")).setEnabled(true, &error));
        QVERIFY(error.contains(config.path() + "/autostart"));
    }
};

QTEST_GUILESS_MAIN(TestDesktopAutostart)
#include "tst_desktopautostart.moc"
