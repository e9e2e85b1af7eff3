// The start-at-login value in the registry (Windows): its name and quoted data, written and
// removed. The tests write under a key of their own, never the user's Run key.

#include <QSettings>
#include <QtTest>

#include "settings/registryautostart.h"

namespace {

const QString kTestKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\MirostaTest\\Run");

}  // namespace

class TestRegistryAutostart : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QSettings(kTestKey, QSettings::NativeFormat).clear(); }

    void nameAndData_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("data");
        QTest::newRow("plain path") << "C:/Tools/remind.exe"
                                    << "remind"
                                    << R"("C:\Tools\remind.exe")";
        QTest::newRow("blanks and Chinese") << "C:/Users/李明/实验 提醒/mirosta.exe"
                                            << "mirosta"
                                            << R"("C:\Users\李明\实验 提醒\mirosta.exe")";
        QTest::newRow("dots in the name") << "D:/m/mirosta.v2.exe"
                                          << "mirosta.v2"
                                          << R"("D:\m\mirosta.v2.exe")";
    }
    void nameAndData() {
        QFETCH(QString, program);
        const RegistryAutostart autostart(program, kTestKey);
        QTEST(autostart.valueName(), "name");
        QTEST(autostart.valueData(), "data");
    }

    void writtenAndRemoved() {
        RegistryAutostart autostart(QStringLiteral("C:/实验 提醒/mirosta.exe"), kTestKey);
        const QSettings run(kTestKey, QSettings::NativeFormat);
        QString error;
        QVERIFY(!autostart.isEnabled());
        QVERIFY2(autostart.setEnabled(true, &error), qPrintable(error));
        QVERIFY(autostart.setEnabled(true, &error));  // over an existing value
        QVERIFY(autostart.isEnabled());
        QCOMPARE(run.value("mirosta").toString(), QString(R"("C:\实验 提醒\mirosta.exe")"));
        QCOMPARE(run.childKeys(), QStringList{"mirosta"});
        QVERIFY(autostart.setEnabled(false, &error));
        QVERIFY(!run.contains("mirosta") && !autostart.isEnabled());
        QVERIFY(autostart.setEnabled(false, &error));  // nothing left to remove
    }
};

QTEST_GUILESS_MAIN(TestRegistryAutostart)
#include "tst_registryautostart.moc"
