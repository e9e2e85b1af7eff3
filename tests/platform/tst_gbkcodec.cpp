// GBK both ways: the bytes of a.bz are what Windows wrote, so every character must come back
// exactly, and nothing a file holds may crash the decoder.

#include <QTest>

#include "platform/gbkcodec.h"

class TestGbkCodec : public QObject {
    Q_OBJECT

  private slots:
    void roundTrip_data();
    void roundTrip();
    void unencodable_data();
    void unencodable();
    void invalidBytes_data();
    void invalidBytes();
    void everySingleByte();
    void binaryJunk();
    void replacementMeansInvalid();
};

void TestGbkCodec::roundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ascii") << QStringLiteral("C30,PB-017") << QByteArray("C30,PB-017");
    QTest::newRow("project part") << QStringLiteral("3号楼三层柱")
                                  << QByteArray::fromHex("33BAC5C2A5C8FDB2E3D6F9");
    QTest::newRow("curing method")
        << QStringLiteral("标准养护") << QByteArray::fromHex("B1EAD7BCD1F8BBA4");
    QTest::newRow("due mark") << QStringLiteral("到期") << QByteArray::fromHex("B5BDC6DA");
    QTest::newRow("full-width punctuation")
        << QStringLiteral("，（）。：；！？“”")
        << QByteArray::fromHex("A3ACA3A8A3A9A1A3A3BAA3BBA3A1A3BFA1B0A1B1");
    QTest::newRow("euro sign, code page 936 only") << QStringLiteral("€") << QByteArray("\x80", 1);
    QTest::newRow("NUL bytes survive")
        << QStringView(u"a\0到\0", 4).toString() << QByteArray("a\0\xB5\xBD\0", 5);
    QTest::newRow("whole record line")
        << QStringLiteral(
               "3号楼三层柱,C30,PB-017,2024-3-7 09:05,28,2024-04-04 09:05,标准养护,36,2,,")
        << QByteArray::fromHex("33BAC5C2A5C8FDB2E3D6F9") +
               QByteArray(",C30,PB-017,2024-3-7 09:05,28,2024-04-04 09:05,") +
               QByteArray::fromHex("B1EAD7BCD1F8BBA4") + QByteArray(",36,2,,");
}

void TestGbkCodec::roundTrip() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(gbk::encode(text), bytes);
    QCOMPARE(gbk::decode(bytes), text);
    QVERIFY(gbk::canEncode(text));
    QVERIFY(gbk::isValid(bytes));
}

void TestGbkCodec::unencodable_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("emoji is one question mark")
        << QStringLiteral("柱😀2") << QByteArray::fromHex("D6F9") + "?2";
    QTest::newRow("two emoji") << QStringLiteral("😀😀") << QByteArray("??");
    QTest::newRow("Korean syllable") << QStringLiteral("a한b") << QByteArray("a?b");
    QTest::newRow("lone high surrogate at end")
        << QStringView(u"x\xD83D", 2).toString() << QByteArray("x?");
    QTest::newRow("lone low surrogate in the middle")
        << QStringView(u"x\xDE00y", 3).toString() << QByteArray("x?y");
}

void TestGbkCodec::unencodable() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(gbk::encode(text), bytes);
    QVERIFY(!gbk::canEncode(text));
}

void TestGbkCodec::invalidBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QChar bad(0xFFFD);
    QTest::newRow("two 0xFF bytes") << QByteArray("\xFF\xFF") << QString(2, bad);
    QTest::newRow("truncated lead byte at end")
        << QByteArray::fromHex("B5BDC6") << QStringLiteral("到") + bad;
    QTest::newRow("lead byte alone at end") << QByteArray("\xB5") << QString(bad);
    QTest::newRow("lead byte before a blank")
        << QByteArray("\xB5 C30") << bad + QStringLiteral(" C30");
    QTest::newRow("lead byte before a comma") << QByteArray("\xB5,x") << bad + QStringLiteral(",x");
    QTest::newRow("lead byte before a line feed") << QByteArray("\xB5\n") << bad + u'\n';
    QTest::newRow("bad byte between good text")
        << QByteArray::fromHex("B5BDFFC6DA") << QStringLiteral("到") + bad + QStringLiteral("期");
}

void TestGbkCodec::invalidBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(gbk::decode(bytes), text);
    QVERIFY(!gbk::isValid(bytes));
}

// A single byte is ASCII, the euro sign (0x80), or a lead byte / 0xFF without a partner.
void TestGbkCodec::everySingleByte() {
    for (int b = 0; b < 256; ++b) {
        const QByteArray bytes(1, static_cast<char>(b));
        const QString text = gbk::decode(bytes);
        QCOMPARE(text.size(), 1);
        if (b < 0x80)
            QCOMPARE(int(text.at(0).unicode()), b);
        else if (b == 0x80)
            QCOMPARE(text, QStringLiteral("€"));
        else
            QCOMPARE(text.at(0), QChar(0xFFFD));
    }
}

// Every pair of bytes in a row: decoding never yields more characters than bytes, and what
// decodes cleanly encodes back to the same bytes.
void TestGbkCodec::binaryJunk() {
    QByteArray junk;
    for (int hi = 0; hi < 256; ++hi)
        for (int lo = 0; lo < 256; lo += 7) junk.append(char(hi)).append(char(lo));
    const QString text = gbk::decode(junk);
    QVERIFY(text.size() <= junk.size());
    QVERIFY(text.contains(QChar(0xFFFD)));
    QVERIFY(!gbk::isValid(junk));

    QString clean = text;
    clean.remove(QChar(0xFFFD));
    QCOMPARE(gbk::decode(gbk::encode(clean)), clean);
}

// The record loader tells a line with broken bytes by the U+FFFD in its decoded text, so no
// valid pair of bytes may decode to U+FFFD itself.
void TestGbkCodec::replacementMeansInvalid() {
    int validPairs = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            QByteArray pair;
            pair.append(char(lead)).append(char(trail));
            const bool valid = gbk::isValid(pair);
            validPairs += valid;
            QCOMPARE(gbk::decode(pair).contains(QChar(0xFFFD)), !valid);
        }
    }
    QVERIFY2(validPairs > 21000, QByteArray::number(validPairs));  // about 21886 in GBK
}

QTEST_APPLESS_MAIN(TestGbkCodec)
#include "tst_gbkcodec.moc"
