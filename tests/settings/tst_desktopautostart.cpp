// The freedesktop autostart entry: where it goes, what it says for awkward program paths, and its
// creation and removal in a temporary configuration directory.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "environmentguard.h"
#include "settings/desktopautostart.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

}  // namespace

class TestDesktopAutostart : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir m_config;

  private slots:
    void entryForProgramPath_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/opt/mirosta/mirosta"
                               << "mirosta.desktop"
                               << "Exec=\"/opt/mirosta/mirosta\"";
        QTest::newRow("space") << "/home/li ming/lab tools/mirosta"
                               << "mirosta.desktop"
                               << "Exec=\"/home/li ming/lab tools/mirosta\"";
        QTest::newRow("double quote") << "/srv/a\"b/mirosta"
                                      << "mirosta.desktop"
                                      << "Exec=\"/srv/a\\\\\"b/mirosta\"";
        QTest::newRow("dollar") << "/srv/$HOME/mirosta"
                                << "mirosta.desktop"
                                << "Exec=\"/srv/\\\\$HOME/mirosta\"";
        QTest::newRow("backslash") << "/srv/a\\b/mirosta"
                                   << "mirosta.desktop"
                                   << "Exec=\"/srv/a\\\\\\\\b/mirosta\"";
        QTest::newRow("backtick") << "/srv/`id`/mirosta"
                                  << "mirosta.desktop"
                                  << "Exec=\"/srv/\\\\`id\\\\`/mirosta\"";
        QTest::newRow("percent is no field code") << "/srv/100%u/mirosta"
                                                  << "mirosta.desktop"
                                                  << "Exec=\"/srv/100%%u/mirosta\"";
        QTest::newRow("Chinese, file name with extension") << "/home/张/工具/提醒 v2.bin"
                                                           << "提醒 v2.bin.desktop"
                                                           << "Exec=\"/home/张/工具/提醒 v2.bin\"";
    }
    void entryForProgramPath() {
        QFETCH(QString, program);
        QFETCH(QString, fileName);
        QFETCH(QString, exec);
        EnvironmentGuard xdg("XDG_CONFIG_HOME", m_config.path().toUtf8());
        DesktopAutostart autostart(program);
        QCOMPARE(autostart.entryPath(), m_config.path() + "/autostart/" + fileName);
        const QStringList lines = QString::fromUtf8(autostart.entryContent()).split(u'\n');
        QVERIFY(lines.contains(exec));
    }

    void writesTheWholeEntryAndRemovesIt() {
        EnvironmentGuard xdg("XDG_CONFIG_HOME", m_config.path().toUtf8());
        DesktopAutostart autostart(QStringLiteral("/home/li ming/a\"$\\/mirosta"));
        const QString path = m_config.path() + "/autostart/mirosta.desktop";
        QVERIFY(!autostart.isEnabled());

        QString error;
        QVERIFY2(autostart.setEnabled(true, &error), qPrintable(error));
        QVERIFY(autostart.isEnabled());
        QCOMPARE(readAll(path), QByteArray("[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=Mirosta\n"
                                           "Exec=\"/home/li ming/a\\\\\"\\\\$\\\\\\\\/mirosta\"\n"
                                           "X-GNOME-Autostart-enabled=true\n"));

        // Writing again over an existing entry is no error.
        QVERIFY(autostart.setEnabled(true, &error));
        QVERIFY(autostart.setEnabled(false, &error));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!autostart.isEnabled());
        // Removing what is not there is no error either.
        QVERIFY(autostart.setEnabled(false, &error));
    }

    void configHomeFallsBackToDotConfig_data() {
        QTest::addColumn<bool>("set");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("unset") << false << QByteArray();
        QTest::newRow("empty") << true << QByteArray();
        QTest::newRow("relative path is ignored") << true << QByteArray("relative/config");
    }
    void configHomeFallsBackToDotConfig() {
        QFETCH(bool, set);
        QFETCH(QByteArray, value);
        QTemporaryDir home;
        EnvironmentGuard homeGuard("HOME", home.path().toUtf8());
        std::optional<EnvironmentGuard> xdg;
        if (set) {
            xdg.emplace("XDG_CONFIG_HOME", value);
        } else {
            xdg.emplace("XDG_CONFIG_HOME");
        }
        DesktopAutostart autostart(QStringLiteral("/opt/mirosta/mirosta"));
        QCOMPARE(autostart.entryPath(), home.path() + "/.config/autostart/mirosta.desktop");
        QString error;
        QVERIFY2(autostart.setEnabled(true, &error), qPrintable(error));
        QVERIFY(QFile::exists(home.path() + "/.config/autostart/mirosta.desktop"));
    }

    void unwritableDirectoryIsReported() {
        // A file where the autostart folder should be: the entry cannot be written.
        QTemporaryDir config;
        QFile blocker(config.path() + "/autostart");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        EnvironmentGuard xdg("XDG_CONFIG_HOME", config.path().toUtf8());
        DesktopAutostart autostart(QStringLiteral("/opt/mirosta/mirosta"));
        QString error;
        QVERIFY(!autostart.setEnabled(true, &error));
        QVERIFY(error.contains(QDir::toNativeSeparators(config.path() + "/autostart")));
        QVERIFY(!autostart.isEnabled());
    }
};

QTEST_GUILESS_MAIN(TestDesktopAutostart)
#include "tst_desktopautostart.moc"
