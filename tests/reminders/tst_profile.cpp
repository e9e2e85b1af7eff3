// The profile reader and writer behind ts.ini: one entry written at a time, every other byte of the
// file left as it was, names matched without regard to case, GBK and CR LF throughout.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/gbkcodec.h"
#include "platform/profile.h"
#include "reminders/reminderfiles.h"

using namespace reminderfiles;

class TestProfile : public QObject {
    Q_OBJECT

  private slots:
    void writeEntry_data();
    void writeEntry();
    void writeRefusesUnreadableFile();
    void readValue_data();
    void readValue();
    void listSections_data();
    void listSections();

  private:
    QString path() const { return m_dir.filePath(QStringLiteral("p.ini")); }
    QTemporaryDir m_dir;
};

void TestProfile::writeEntry_data() {
    QTest::addColumn<QByteArray>("before");  // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    // clang-format off
    QTest::newRow("no file yet") << QByteArray() << "1|1" << "备注" << "加急" << g("[1|1]\r\n备注=加急\r\n");
    QTest::newRow("empty file") << QByteArray("") << "s" << "k" << "v" << QByteArray("[s]\r\nk=v\r\n");
    QTest::newRow("new section at the end") << QByteArray("[a]\r\nx=1\r\n") << "b" << "k" << "v"
        << QByteArray("[a]\r\nx=1\r\n[b]\r\nk=v\r\n");
    QTest::newRow("new section after a last line without line end") << QByteArray("[a]\r\nx=1")
        << "b" << "k" << "v" << QByteArray("[a]\r\nx=1\r\n[b]\r\nk=v\r\n");
    QTest::newRow("value replaced in place") << QByteArray("[a]\r\nk=old\r\nz=2\r\n[b]\r\nk=b\r\n")
        << "a" << "k" << "new" << QByteArray("[a]\r\nk=new\r\nz=2\r\n[b]\r\nk=b\r\n");
    QTest::newRow("replaced line keeps its LF") << QByteArray("[a]\nk=old\nz=2\n") << "a" << "k"
        << "new" << QByteArray("[a]\nk=new\nz=2\n");
    QTest::newRow("new key ends its section, before blank lines")
        << QByteArray("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n") << "a" << "k" << "v"
        << QByteArray("[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\ny=2\r\n");
    QTest::newRow("new key in a last section without line end") << QByteArray("[a]\r\nx=1") << "a"
        << "k" << "v" << QByteArray("[a]\r\nx=1\r\nk=v\r\n");
    QTest::newRow("names match without regard to case") << QByteArray("[Sec]\r\nKey=1\r\n") << "sEC"
        << "kEY" << "2" << QByteArray("[Sec]\r\nKey=2\r\n");
    QTest::newRow("comments, spacing and junk lines untouched")
        << QByteArray("; note\r\n[a]\r\n  x = 1 \r\njunk\r\n") << "a" << "y" << "2"
        << QByteArray("; note\r\n[a]\r\n  x = 1 \r\njunk\r\ny=2\r\n");
    QTest::newRow("Chinese in GBK") << g("[1|1]\r\n是否显示=0\r\n编号=0\r\n") << "1|1" << "是否显示"
        << "1" << g("[1|1]\r\n是否显示=1\r\n编号=0\r\n");
    QTest::newRow("a bracket that is half a GBK character is no header") << g("[a]\r\n[x癩\r\nk=1\r\n")
        << "a" << "k" << "2" << g("[a]\r\n[x癩\r\nk=2\r\n");
    QTest::newRow("the first of two equal sections") << QByteArray("[a]\r\nk=1\r\n[a]\r\nk=2\r\n")
        << "a" << "k" << "3" << QByteArray("[a]\r\nk=3\r\n[a]\r\nk=2\r\n");
    QTest::newRow("an entry above every section belongs to none") << QByteArray("k=0\r\n[a]\r\n")
        << "a" << "k" << "1" << QByteArray("k=0\r\n[a]\r\nk=1\r\n");
    QTest::newRow("line breaks in a value become blanks") << QByteArray("[a]\r\n") << "a" << "k"
        << "x\r\ny" << QByteArray("[a]\r\nk=x  y\r\n");
    QTest::newRow("undecodable bytes elsewhere survive")
        << QByteArrayLiteral("\xff\xfe\0junk\r\n[a]\r\nk=1\r\n") << "a" << "k" << "2"
        << QByteArrayLiteral("\xff\xfe\0junk\r\n[a]\r\nk=2\r\n");
    // clang-format on
}

void TestProfile::writeEntry() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    QVERIFY(writeRaw(path(), before));
    QString error;
    QVERIFY2(writeProfileString(path(), section, key, value, &error), qPrintable(error));
    QCOMPARE(readRaw(path()), after);
    QCOMPARE(ReadProfileValue(section, key, path()),
             value.replace(u'\r', u' ').replace(u'\n', u' '));
}

void TestProfile::writeRefusesUnreadableFile() {
    // A folder where the file should be: nothing is written and the reason is given.
    const QString folder = m_dir.filePath(QStringLiteral("folder.ini"));
    QVERIFY(QDir().mkpath(folder));
    QString error;
    QVERIFY(!writeProfileString(folder, QStringLiteral("a"), QStringLiteral("k"),
                                QStringLiteral("v"), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(folder).isDir());
}

void TestProfile::readValue_data() {
    QTest::addColumn<QByteArray>("file");  // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const QByteArray table = g("[1|1]\r\n是否显示=0\r\n编号= 7 \r\n备注=\r\n[1|2]\r\n编号=8\r\n");
    // clang-format off
    QTest::newRow("value of the right section") << table << "1|2" << "编号" << "8";
    QTest::newRow("blanks around a value trimmed") << table << "1|1" << "编号" << "7";
    QTest::newRow("empty value") << table << "1|1" << "备注" << "";
    QTest::newRow("key of another section") << table << "1|2" << "是否显示" << "";
    QTest::newRow("missing section") << table << "9|9" << "编号" << "";
    QTest::newRow("equals sign inside a value") << QByteArray("[a]\r\nk=x=y\r\n") << "a" << "k" << "x=y";
    QTest::newRow("ideographic space kept") << g("[a]\r\nk=　加急\r\n") << "a" << "k" << "　加急";
    QTest::newRow("NUL removed") << QByteArrayLiteral("[a]\r\nk=x\0y\r\n") << "a" << "k" << "xy";
    QTest::newRow("LF line ends") << QByteArray("[a]\nk=1\n[b]\nk=2") << "b" << "k" << "2";
    QTest::newRow("missing file") << QByteArray() << "1|1" << "是否显示" << "";
    // clang-format on
}

void TestProfile::readValue() {
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QVERIFY(writeRaw(path(), file));
    QCOMPARE(ReadProfileValue(section, key, path()), value);
    QCOMPARE(QFile::exists(path()), !file.isNull());  // reading never creates the file
}

void TestProfile::listSections_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("names");

    // clang-format off
    QTest::newRow("headers in file order") << QByteArray("[1|1]\r\na=0\r\n[1|2]\r\n\r\n[2|1]\r\n")
        << QStringList{"1|1", "1|2", "2|1"};
    QTest::newRow("text around the brackets stays") << QByteArray(" x[1|1]y \r\n") << QStringList{" x1|1y "};
    QTest::newRow("every bracket removed") << QByteArray("[[a]]]\r\n") << QStringList{"a"};
    QTest::newRow("a value holding a bracket counts") << g("[1|1]\r\n备注=[急]\r\n")
        << QStringList{"1|1", "备注=急"};
    QTest::newRow("half a GBK character is no bracket") << g("[a]\r\nk=癧\r\n") << QStringList{"a"};
    QTest::newRow("missing file") << QByteArray() << QStringList{};
    // clang-format on
}

void TestProfile::listSections() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, names);
    QVERIFY(writeRaw(path(), file));
    QCOMPARE(ListProfileSections(path()), names);
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
