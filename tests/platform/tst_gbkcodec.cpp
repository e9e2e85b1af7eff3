// GBK both ways: a.bz holds what Windows wrote, so every character must come back exactly.

#include <QTest>

#include "platform/gbkcodec.h"

class TestGbkCodec : public QObject {
    Q_OBJECT

  private slots:
    void convert_data() {
        QTest::addColumn<QString>("way");  // "both" ways exactly, or only "encode" / "decode"
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        auto row = [](const char* name, const char* way, const QString& text, const QByteArray& b) {
            QTest::newRow(name) << QString::fromLatin1(way) << text << b;
        };
        const auto hex = &QByteArray::fromHex;
        row("Chinese and ASCII", "both", "3号楼,C30", hex("33BAC5C2A52C433330"));
        row("full-width punctuation", "both", "，（）“”", hex("A3ACA3A8A3A9A1B0A1B1"));
        row("euro sign, code page 936 only", "both", "€", "\x80");
        row("NUL bytes", "both", QStringView(u"a\0到", 3).toString(), QByteArray("a\0\xB5\xBD", 4));
        row("emoji is one question mark", "encode", "柱😀2", hex("D6F93F32"));
        row("lone surrogate", "encode", QString(QChar(0xD83D)), "?");
        row("two 0xFF bytes", "decode", "\uFFFD\uFFFD", "\xFF\xFF");
        row("lead byte cut off at end", "decode", "到\uFFFD", hex("B5BDC6"));
        row("lead byte keeps the comma", "decode", "\uFFFD,x", "\xB5,x");
        row("bad byte between good ones", "decode", "到\uFFFD期", hex("B5BDFFC6DA"));
        // Windows' code page 936 maps these to the private use area; GBK has no such characters.
        row("user-defined area", "decode", "\uFFFD\uFFFD", hex("AAA1"));
        row("private use character", "encode", QString(QChar(0xE000)), "?");
        row("what Windows writes as 0xFF", "encode", QString(QChar(0xF8F5)), "?");
    }
    void convert() {
        QFETCH(QString, way);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        if (way != "decode") QCOMPARE(gbk::encode(text), bytes);
        if (way != "decode") QCOMPARE(gbk::canEncode(text), way == "both");
        if (way != "encode") QCOMPARE(gbk::decode(bytes), text);
        if (way != "encode") QCOMPARE(gbk::isValid(bytes), way == "both");
    }

    // Every two-byte code: a valid one is one character that encodes back to the same bytes; an
    // invalid one shows U+FFFD, which the record loader relies on to tell broken lines.
    void everyPair() {
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFF; ++trail) {
                const QByteArray pair = QByteArray(1, char(lead)) + char(trail);
                const QString text = gbk::decode(pair);
                QCOMPARE(text.contains(QChar(0xFFFD)), !gbk::isValid(pair));
                if (gbk::isValid(pair)) QCOMPARE(text.size(), 1);
                if (gbk::isValid(pair)) QCOMPARE(gbk::encode(text), pair);
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestGbkCodec)
#include "tst_gbkcodec.moc"
