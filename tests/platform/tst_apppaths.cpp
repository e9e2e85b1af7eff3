// Where a.bz, ts.ini and the settings live: beside the program in a writable folder, else the
// per-user folder.

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/apppaths.h"

class TestAppPaths : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void dataFolder_data() {
        QTest::addColumn<QString>("exeDir");  // empty: a writable temporary folder
        QTest::addColumn<bool>("portable");
        QTest::newRow("a writable folder keeps its files") << QString() << true;
        QTest::newRow("an installed program in /usr/bin") << "/usr/bin" << false;
        QTest::newRow("a folder that does not exist") << "/nonexistent/mirosta" << false;
    }
    void dataFolder() {
        QFETCH(QString, exeDir);
        QFETCH(bool, portable);
        QTemporaryDir temp;
        if (exeDir.isEmpty()) exeDir = temp.path();
        const AppPaths paths = AppPaths::forExecutableDir(exeDir);
        const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(paths.dataDir(), portable ? exeDir : perUser);
        QCOMPARE(paths.dataFilePath(), paths.dataDir() + "/a.bz");
        QCOMPARE(paths.profilePath(), paths.dataDir() + "/ts.ini");
        const QString perUserConfig =
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QCOMPARE(paths.settingsPath(), (portable ? exeDir : perUserConfig) + "/mirosta.ini");
        QVERIFY(QFileInfo(paths.dataDir()).isDir());
    }
};

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
