// One program per data folder: a second start finds the first and asks it to show itself.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/singleinstance.h"

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void secondStartOnTheSameFolderDefersToTheFirst() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(!first.anotherIsRunning());
        QSignalSpy asked(&first, &SingleInstance::activationRequested);
        SingleInstance second(dir.path() + QStringLiteral("/."));  // the same folder, spelt otherwise
        QVERIFY(second.anotherIsRunning());
        QTRY_COMPARE(asked.count(), 1);
    }

    void otherFoldersRunSideBySide() {
        QTemporaryDir a;
        QTemporaryDir b;
        SingleInstance first(a.path());
        SingleInstance second(b.path());
        QVERIFY(!first.anotherIsRunning());
        QVERIFY(!second.anotherIsRunning());
    }

    void aFolderFreedByAnEndedProgramCanBeTakenAgain() {
        QTemporaryDir dir;
        {
            SingleInstance first(dir.path());
            QVERIFY(!first.anotherIsRunning());
        }
        SingleInstance again(dir.path());
        QVERIFY(!again.anotherIsRunning());
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
