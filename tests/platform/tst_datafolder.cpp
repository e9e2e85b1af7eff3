// The data folder: beside the program when that folder is writable, else the per-user folder; one
// program per data folder, so that no reminder is announced twice; and Qt's own texts in Chinese,
// from the translation beside the program before Qt's.

#include <QLibraryInfo>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include "platform/apppaths.h"
#include "platform/chinesetranslation.h"
#include "platform/singleinstance.h"

class TestDataFolder : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void whereFilesLive_data() {
        QTest::addColumn<QString>("exeDir");  // empty: a writable temporary folder
        QTest::newRow("a writable folder keeps its files") << QString();
        QTest::newRow("an installed program in /usr/bin") << "/usr/bin";
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

    // A second start finds the first and asks it to show itself.
    void oneProgramPerFolder() {
        QTemporaryDir dir;
        QTemporaryDir otherDir;
        {
            SingleInstance first(dir.path());
            QVERIFY(!first.anotherIsRunning());
            QSignalSpy asked(&first, &SingleInstance::activationRequested);
            SingleInstance second(dir.path() + "/.");  // the same folder, spelt otherwise
            QVERIFY(second.anotherIsRunning());
            QTRY_COMPARE(asked.count(), 1);
            SingleInstance other(otherDir.path());
            QVERIFY(!other.anotherIsRunning());
        }
        SingleInstance again(dir.path());  // the first program has ended
        QVERIFY(!again.anotherIsRunning());
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
        QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"), "文件名称(&N)：");
        for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>())
            QCoreApplication::removeTranslator(t);
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
