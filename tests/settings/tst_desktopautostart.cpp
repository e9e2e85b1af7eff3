// The start-at-login entry: its Exec line, the whole file and its removal, and where it goes
// without $XDG_CONFIG_HOME.

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

    // Quoted for the Exec key, then escaped once more as a desktop string value.
    void execArgument_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        const auto row = [](const char* name, const char* program, const char* exec) {
            QTest::newRow(name) << program << exec;
        };
        row("double quote", R"(/a"b/m)", R"("/a\\"b/m")");
        row("dollar", "/$HOME/m", R"("/\\$HOME/m")");
        row("backslash", R"(/a\b/m)", R"("/a\\\\b/m")");
        row("percent", "/100%u/m", R"("/100%%u/m")");
    }
    void execArgument() {
        QFETCH(QString, program);
        QTEST(DesktopAutostart::execArgument(program), "exec");
    }

    void writtenAndRemoved() {
        DesktopAutostart autostart(QStringLiteral("/home/li ming/提醒 v2.bin"));
        QFile file(m_config.path() + QStringLiteral("/autostart/提醒 v2.bin.desktop"));
        QCOMPARE(autostart.entryPath(), file.fileName());
        QString error;
        QVERIFY(!autostart.isEnabled());
        QVERIFY2(autostart.setEnabled(true, &error), qPrintable(error));
        QVERIFY(autostart.setEnabled(true, &error));  // over an existing entry
        QVERIFY(autostart.isEnabled());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Desktop Entry]\nType=Application\nName=Mirosta\n"
                                            "Exec=\"/home/li ming/提醒 v2.bin\"\n"
                                            "X-GNOME-Autostart-enabled=true\n"));
        file.close();
        QVERIFY(autostart.setEnabled(false, &error));
        QVERIFY(!file.exists() && !autostart.isEnabled());
        QVERIFY(autostart.setEnabled(false, &error));  // nothing left to remove
    }

    void withoutConfigHomeInDotConfig() {
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(DesktopAutostart(QStringLiteral("/opt/m/mirosta")).entryPath(),
                 QDir::homePath() + "/.config/autostart/mirosta.desktop");
    }
};

QTEST_GUILESS_MAIN(TestDesktopAutostart)
#include "tst_desktopautostart.moc"
