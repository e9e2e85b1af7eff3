// One program per data folder: a second start finds the first and asks it to show itself.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/singleinstance.h"

class TestSingleInstance : public QObject {
    Q_OBJECT
  private slots:
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
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
