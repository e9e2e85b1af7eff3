// The data folder: beside the program when that folder is writable, else the per-user folder; one
// program per data folder, so that no reminder is announced twice; and Qt's own texts in Chinese,
// from the translation beside the program before Qt's.

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTranslator>
#include <QtTest>
#include <atomic>
#include <memory>

#include "platform/apppaths.h"
#include "platform/chinesetranslation.h"
#include "platform/instancechannel.h"
#include "platform/singleinstance.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Another program listening on a name, on a thread of its own: it answers as told.
class Listener {
  public:
    enum Manner { Silent, Garbage, Flood, Echo };
    Listener(const QString& name, Manner manner)
        : m_thread(QThread::create([this, name, manner] { run(name, manner); })) {
        m_thread->start();
        QTRY_VERIFY(m_listening);
    }
    ~Listener() {
        m_stop = true;
        m_thread->wait();
    }

  private:
    void run(const QString& name, Manner manner) {
        QLocalServer server;
        QLocalServer::removeServer(name);
        m_listening = server.listen(name);
        std::unique_ptr<QLocalSocket> peer;
        while (!m_stop) {
            if (!peer) {
                if (server.waitForNewConnection(20)) peer.reset(server.nextPendingConnection());
                if (peer && manner == Garbage) peer->write("HTTP/1.0 400 Bad Request\r\n\r\n");
            } else if (manner == Flood) {
                peer->write(QByteArray(1 << 16, 'x'));
                peer->waitForBytesWritten(20);
            } else if (manner == Echo && peer->waitForReadyRead(20)) {
                peer->write(peer->readAll());
            } else {
                peer->waitForBytesWritten(20);
            }
        }
    }

    std::atomic<bool> m_listening = false;
    std::atomic<bool> m_stop = false;
    std::unique_ptr<QThread> m_thread;
};

// Sets an environment variable for the life of the guard, then restores it.
struct EnvironmentGuard {
    EnvironmentGuard(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        qputenv(name, value);
    }
    ~EnvironmentGuard() { m_had ? qputenv(m_name, m_old) : qunsetenv(m_name); }
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

}  // namespace

class TestDataFolder : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void whereFilesLive_data() {
        QTest::addColumn<QString>("exeDir");  // empty: a writable temporary folder
        QTest::newRow("a writable folder keeps its files") << QString();
#ifdef Q_OS_WIN
        QTest::newRow("the Windows folder") << qEnvironmentVariable("SystemRoot");
        QTest::newRow("Program Files") << qEnvironmentVariable("ProgramFiles");
#else
        QTest::newRow("an installed program in /usr/bin") << "/usr/bin";
#endif
    }
    void whereFilesLive() {
        QFETCH(QString, exeDir);
        QTemporaryDir temp;
        const bool portable = exeDir.isEmpty();
        if (portable) exeDir = temp.path();
        const AppPaths paths = AppPaths::forExecutableDir(exeDir);
        const auto perUser = &QStandardPaths::writableLocation;
        const QString dataDir = portable ? exeDir : perUser(QStandardPaths::AppDataLocation);
        const QString configDir = portable ? exeDir : perUser(QStandardPaths::AppConfigLocation);
        QCOMPARE(paths.dataFilePath(), dataDir + "/a.bz");
        QCOMPARE(paths.profilePath(), dataDir + "/ts.ini");
        QCOMPARE(paths.settingsPath(), configDir + "/mirosta.ini");
        QVERIFY(QFileInfo(dataDir).isDir());
    }

    // A second start finds the first and asks it to show itself. The second start runs on a
    // thread of its own, as it would in a process of its own, while the first answers it.
    void oneProgramPerFolder() {
        QTemporaryDir dir;
        QTemporaryDir otherDir;
        {
            SingleInstance first(dir.path());
            QVERIFY(!first.anotherIsRunning());
            QSignalSpy asked(&first, &SingleInstance::activationRequested);
            std::atomic<bool> found = false;
            const std::unique_ptr<QThread> second(QThread::create([&] {
                found = SingleInstance(dir.path() + "/.").anotherIsRunning();  // spelt otherwise
            }));
            second->start();
            QTRY_VERIFY(second->isFinished());
            QVERIFY(found);
            QTRY_COMPARE(asked.count(), 1);
            SingleInstance other(otherDir.path());
            QVERIFY(!other.anotherIsRunning());
        }
        SingleInstance again(dir.path());  // the first program has ended
        QVERIFY(!again.anotherIsRunning());
        QCOMPARE(again.problem(), QString());
    }

    // Only a listener that answers as the program does counts as a running copy; any other goes
    // unheeded (on the old shared name, where the guard no longer looks) or is reported, and the
    // program runs on, held up for no more than the guard's limit.
    void foreignListener_data() {
        QTest::addColumn<bool>("onOldName");
        QTest::addColumn<int>("manner");
        QTest::addColumn<bool>("reported");
        QTest::newRow("on the old shared name") << true << int(Listener::Silent) << false;
        QTest::newRow("never answers") << false << int(Listener::Silent) << true;
        QTest::newRow("sends garbage") << false << int(Listener::Garbage) << true;
        QTest::newRow("floods the socket") << false << int(Listener::Flood) << true;
        QTest::newRow("echoes the hello") << false << int(Listener::Echo) << true;
    }
    void foreignListener() {
        QFETCH(bool, onOldName);
        QFETCH(int, manner);
        QFETCH(bool, reported);
        QTemporaryDir dir;
        SingleInstance program(dir.path());
        const QString oldName =
            "mirosta-" + QCryptographicHash::hash(QDir(dir.path()).canonicalPath().toUtf8(),
                                                  QCryptographicHash::Sha1)
                             .toHex()
                             .left(16);
        QCOMPARE(program.key(), oldName);
        const Listener other(onOldName ? oldName : instanceChannel(oldName).serverName,
                             Listener::Manner(manner));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!program.anotherIsRunning());
        QVERIFY2(clock.elapsed() < 2 * SingleInstance::kLimitMs, qPrintable(program.problem()));
        QCOMPARE(!program.problem().isEmpty(), reported);
        if (reported) QVERIFY(program.problem().contains("不是本软件"));
    }

    // The socket's folder: the runtime folder when it is the user's alone, else a folder of the
    // user's own in the temporary folder; never one that others may enter.
    void privateFolder_data() {
#ifndef Q_OS_UNIX
        QSKIP("named pipes have no folder");
#endif
        QTest::addColumn<QString>("runtimeMode");  // octal, or "unset"
        QTest::addColumn<QString>("ownFolder");    // "made", or how it was found: mode / "foreign"
        QTest::addColumn<QString>("place");        // "runtime", "own" or "" (none: reported)
        // clang-format off
        QTest::newRow("runtime folder 0700") << "700" << "made" << "runtime";
        QTest::newRow("no runtime folder") << "unset" << "made" << "own";
        QTest::newRow("runtime folder others may enter") << "755" << "made" << "own";
        QTest::newRow("own folder found at 0700") << "unset" << "700" << "own";
        QTest::newRow("own folder others may enter") << "unset" << "711" << "";
        QTest::newRow("own folder of another user") << "unset" << "foreign" << "";
        // clang-format on
    }
    void privateFolder() {
#ifdef Q_OS_UNIX
        QFETCH(QString, runtimeMode);
        QFETCH(QString, ownFolder);
        QFETCH(QString, place);
        QTemporaryDir temp;
        const QString runtime = temp.path() + "/runtime";
        const QString own = temp.path() + "/tmp/mirosta-" + QString::number(geteuid());
        QVERIFY(QDir().mkpath(runtime) && QDir().mkpath(temp.path() + "/tmp"));
        chmod(QFile::encodeName(runtime), runtimeMode.toUInt(nullptr, 8));
        if (ownFolder != "made") {
            QVERIFY(QDir().mkdir(own));
            chmod(QFile::encodeName(own),
                  ownFolder == "foreign" ? 0700 : ownFolder.toUInt(nullptr, 8));
            if (ownFolder == "foreign" && chown(QFile::encodeName(own), 65534, 65534) != 0)
                QSKIP("only root can give the folder to another user");
        }
        const EnvironmentGuard runtimeDir("XDG_RUNTIME_DIR", runtime.toUtf8());
        if (runtimeMode == "unset") qunsetenv("XDG_RUNTIME_DIR");
        const EnvironmentGuard tempDir("TMPDIR", (temp.path() + "/tmp").toUtf8());
        const InstanceChannel channel = instanceChannel("mirosta-0123456789abcdef");
        const QString folder = place == "runtime" ? runtime : place == "own" ? own : QString();
        QCOMPARE(channel.serverName,
                 folder.isEmpty() ? folder : folder + "/mirosta-0123456789abcdef");
        QCOMPARE(channel.problem.isEmpty(), !folder.isEmpty());
        if (place == "own") QCOMPARE(QFileInfo(own).permissions() & 0x0077, 0);
#endif
    }

    void qtSpeaksChinese_data() {
        QTest::addColumn<bool>("beside");  // a copy of the translation beside the program
        QTest::newRow("beside the program") << true;
        QTest::newRow("from Qt's folder") << false;
    }
    void qtSpeaksChinese() {
        QFETCH(bool, beside);
        QTemporaryDir programDir;
        const QString qts = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        const QString besideFile = programDir.filePath("translations/qtbase_zh_CN.qm");
        if (beside) {
            QVERIFY(QDir(programDir.path()).mkdir("translations"));
            QVERIFY(QFile::copy(QDir(qts).filePath("qtbase_zh_CN.qm"), besideFile));
        }
        QLocale::setDefault(QLocale::c());
        const QString loaded =
            installChineseTranslation(*QCoreApplication::instance(), programDir.path());
        QCOMPARE(loaded, beside ? besideFile : QDir(qts).filePath("qtbase_zh_CN.qm"));
        QCOMPARE(QLocale().dayName(1), "星期一");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "取消");
        for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>())
            QCoreApplication::removeTranslator(t);
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
