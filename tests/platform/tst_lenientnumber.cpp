// Typed numbers: the number the text begins with counts, anything else is 0, and whole numbers
// round half to even.

#include <QTest>

#include <limits>

#include "platform/lenientnumber.h"

class TestLenientNumber : public QObject {
    Q_OBJECT

  private slots:
    void leadingInteger_data();
    void leadingInteger();
    void leadingNumber_data();
    void leadingNumber();
    void roundHalfEven_data();
    void roundHalfEven();
    void hugeDigitStrings_data();
    void hugeDigitStrings();
};

void TestLenientNumber::leadingInteger_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");

    QTest::newRow("plain") << "5000" << qint64(5000);
    QTest::newRow("blank before, unit after") << " 7000ms" << qint64(7000);
    QTest::newRow("tab before") << "\t42" << qint64(42);
    QTest::newRow("half to even, down") << "1500.5" << qint64(1500);
    QTest::newRow("half to even, up") << "3001.5" << qint64(3002);
    QTest::newRow("2.5 to 2") << "2.5" << qint64(2);
    QTest::newRow("-2.5 to -2") << "-2.5" << qint64(-2);
    QTest::newRow("-3.5 to -4") << "-3.5" << qint64(-4);
    QTest::newRow("above half rounds up") << "7.9" << qint64(8);
    QTest::newRow("below half rounds down") << "7.49" << qint64(7);
    QTest::newRow("letters") << "abc" << qint64(0);
    QTest::newRow("empty") << "" << qint64(0);
    QTest::newRow("only blanks") << "   " << qint64(0);
    QTest::newRow("leading zero") << "08" << qint64(8);
    QTest::newRow("letters after digits") << "12abc" << qint64(12);
    QTest::newRow("plus sign") << "+3" << qint64(3);
    QTest::newRow("sign alone") << "-" << qint64(0);
    QTest::newRow("sign then letters") << "-x5" << qint64(0);
    QTest::newRow("point fraction, half to even zero") << ".5" << qint64(0);
    QTest::newRow("point fraction above half") << ".51" << qint64(1);
    QTest::newRow("point alone") << "." << qint64(0);
    QTest::newRow("second point ends the number") << "1.2.3" << qint64(1);
    QTest::newRow("comma is no decimal point") << "2,7" << qint64(2);
    QTest::newRow("digits after Chinese text") << "约5000" << qint64(0);
    QTest::newRow("minus zero point five") << "-0.5" << qint64(0);
}

void TestLenientNumber::leadingInteger() {
    QFETCH(QString, text);
    QFETCH(qint64, value);
    QCOMPARE(::leadingInteger(text), value);
}

void TestLenientNumber::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("point fraction") << ".5" << 0.5;
    QTest::newRow("fraction") << "7.9" << 7.9;
    QTest::newRow("negative fraction") << " -2.25x" << -2.25;
    QTest::newRow("point at end") << "12." << 12.0;
    QTest::newRow("no number") << "x1" << 0.0;
}

void TestLenientNumber::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(::leadingNumber(text), value);
}

void TestLenientNumber::roundHalfEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("rounded");

    QTest::newRow("0.5") << 0.5 << qint64(0);
    QTest::newRow("1.5") << 1.5 << qint64(2);
    QTest::newRow("-1.5") << -1.5 << qint64(-2);
    QTest::newRow("-0.49") << -0.49 << qint64(0);
    QTest::newRow("65535.5") << 65535.5 << qint64(65536);
    QTest::newRow("2^53") << 9007199254740992.0 << qint64(9007199254740992LL);
    QTest::newRow("infinity clamps")
        << std::numeric_limits<double>::infinity() << std::numeric_limits<qint64>::max();
    QTest::newRow("minus infinity clamps")
        << -std::numeric_limits<double>::infinity() << std::numeric_limits<qint64>::min();
    QTest::newRow("NaN is 0") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
}

void TestLenientNumber::roundHalfEven() {
    QFETCH(double, value);
    QFETCH(qint64, rounded);
    QCOMPARE(::roundHalfEven(value), rounded);
}

void TestLenientNumber::hugeDigitStrings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");

    const QString nines(400, u'9');
    const QString zeros(400, u'0');
    QTest::newRow("400 nines") << nines << std::numeric_limits<qint64>::max();
    QTest::newRow("minus 400 nines") << u'-' + nines << std::numeric_limits<qint64>::min();
    QTest::newRow("20 digits") << QStringLiteral("99999999999999999999")
                               << std::numeric_limits<qint64>::max();
    QTest::newRow("nines with fraction")
        << nines + QStringLiteral(".5") << std::numeric_limits<qint64>::max();
    QTest::newRow("one then 400 zeros") << u'1' + zeros << std::numeric_limits<qint64>::max();
    QTest::newRow("tiny fraction") << QStringLiteral("0.") + zeros + u'1' << qint64(0);
    QTest::newRow("negative tiny fraction") << QStringLiteral("-.") + zeros + u'1' << qint64(0);
    QTest::newRow("many leading zeros") << zeros + QStringLiteral("42") << qint64(42);
}

void TestLenientNumber::hugeDigitStrings() {
    QFETCH(QString, text);
    QFETCH(qint64, value);
    QCOMPARE(::leadingInteger(text), value);
}

QTEST_APPLESS_MAIN(TestLenientNumber)
#include "tst_lenientnumber.moc"
