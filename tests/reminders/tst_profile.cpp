// The profile writer behind ts.ini: one entry at a time, every other byte kept, read back the same.

#include <QTemporaryDir>
#include <QTest>

#include "reminders/reminderfiles.h"

using namespace reminderfiles;
using B = QByteArray;

class TestProfile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QStringLiteral("p.ini")); }

  private slots:
    void writeEntry_data() {
        QTest::addColumn<QByteArray>("before");  // null: no file
        QTest::addColumn<QString>("entry");      // section, key and value, split at blanks
        QTest::addColumn<QByteArray>("after");
        // clang-format off
        QTest::newRow("new file") << B() << "1|1 备注 加急" << g("[1|1]\r\n备注=加急\r\n");
        QTest::newRow("new section at the end") << B("[a]\r\nx=1")
            << "b k v" << B("[a]\r\nx=1\r\n[b]\r\nk=v\r\n");
        QTest::newRow("replaced in place, rest kept") << B("[a]\r\nk=old\r\nz=2\r\n[b]\r\nk=b\r\n")
            << "a k new" << B("[a]\r\nk=new\r\nz=2\r\n[b]\r\nk=b\r\n");
        QTest::newRow("replaced line keeps its LF") << B("[a]\nk=old\nz=2\n")
            << "a k new" << B("[a]\nk=new\nz=2\n");
        QTest::newRow("new key ends its section") << B("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n")
            << "a k v" << B("[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\ny=2\r\n");
        QTest::newRow("comments, spacing, junk untouched") << B("; n\r\n[a]\r\n x = 1 \r\njunk\r\n")
            << "a y 2" << B("; n\r\n[a]\r\n x = 1 \r\njunk\r\ny=2\r\n");
        QTest::newRow("GBK") << g("[1|1]\r\n是否显示=0\r\n编号=0\r\n")
            << "1|1 是否显示 1" << g("[1|1]\r\n是否显示=1\r\n编号=0\r\n");
        QTest::newRow("half a GBK character is no header") << g("[a]\r\n[x癩\r\nk=1\r\n")
            << "a k 2" << g("[a]\r\n[x癩\r\nk=2\r\n");
        QTest::newRow("line breaks become blanks") << B("[a]\r\n")
            << "a k x\r\ny" << B("[a]\r\nk=x  y\r\n");
        QTest::newRow("undecodable bytes kept") << QByteArrayLiteral("\xff\xfe\0j\r\n[a]\r\nk=1\r\n")
            << "a k 2" << QByteArrayLiteral("\xff\xfe\0j\r\n[a]\r\nk=2\r\n");
        // clang-format on
    }
    void writeEntry() {
        QFETCH(QByteArray, before);
        QFETCH(QString, entry);
        QFETCH(QByteArray, after);
        const QStringList e = entry.split(u' ');
        QVERIFY(writeRaw(path(), before));
        QVERIFY(writeProfileString(path(), e[0], e[1], e[2]));
        QCOMPARE(readRaw(path()), after);
        QCOMPARE(ReadProfileValue(e[0], e[1], path()),
                 QString(e[2]).replace(u'\r', u' ').replace(u'\n', u' '));
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
