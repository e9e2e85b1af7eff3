// Where the program keeps a.bz and ts.ini.

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/apppaths.h"

class TestAppPaths : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName(QStringLiteral("mirosta"));
    }

    void dataFolder_data() {
        QTest::addColumn<QString>("exeDir");
        QTest::addColumn<bool>("portable");
        QTest::newRow("a writable folder keeps its files") << QStringLiteral("<temp>") << true;
        QTest::newRow("an installed program in /usr/bin") << QStringLiteral("/usr/bin") << false;
        QTest::newRow("a folder that does not exist")
            << QStringLiteral("/nonexistent/mirosta") << false;
    }
    void dataFolder() {
        QFETCH(QString, exeDir);
        QFETCH(bool, portable);
        QTemporaryDir temp;
        if (exeDir == QLatin1String("<temp>")) exeDir = temp.path();
        const AppPaths paths = AppPaths::forExecutableDir(exeDir);
        const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(paths.dataDir(), portable ? exeDir : perUser);
        QCOMPARE(paths.dataFilePath(), paths.dataDir() + QStringLiteral("/a.bz"));
        QCOMPARE(paths.profilePath(), paths.dataDir() + QStringLiteral("/ts.ini"));
        QVERIFY(QFileInfo(paths.dataDir()).isDir());
    }
};

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
