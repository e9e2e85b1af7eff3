// Typed numbers: the number the text begins with counts, else 0; whole numbers round half to even.

#include <QTest>

#include <limits>

#include "platform/lenientnumber.h"

class TestLenientNumber : public QObject {
    Q_OBJECT

  private slots:
    void leading_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");   // leadingNumber()
        QTest::addColumn<qint64>("integer");  // leadingInteger()
        auto row = [](const char* name, const QString& text, double number, qint64 integer) {
            QTest::newRow(name) << text << number << integer;
        };
        const qint64 max = std::numeric_limits<qint64>::max();
        row("blank before, unit after", " 7000ms", 7000, 7000);
        row("half to even, down", "1500.5", 1500.5, 1500);
        row("half to even, up", "3001.5", 3001.5, 3002);
        row("negative half to even", "-2.5", -2.5, -2);
        row("point fraction", ".5", 0.5, 0);
        row("second point ends it", "1.2.3", 1.2, 1);
        row("digits after Chinese text", "约5000", 0, 0);
        row("20 digits clamp", "99999999999999999999", 1e20, max);
        row("minus 400 nines", u'-' + QString(400, u'9'), -std::numeric_limits<double>::infinity(),
            std::numeric_limits<qint64>::min());
        row("tiny fraction", "-0." + QString(400, u'0') + u'1', 0, 0);
    }
    void leading() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(qint64, integer);
        QCOMPARE(leadingNumber(text), number);
        QCOMPARE(leadingInteger(text), integer);
    }

    void roundHalfEvenEdges() {
        QCOMPARE(roundHalfEven(std::numeric_limits<double>::quiet_NaN()), qint64(0));
        QCOMPARE(roundHalfEven(9007199254740992.0), qint64(9007199254740992));  // 2^53 stays exact
    }
};

QTEST_APPLESS_MAIN(TestLenientNumber)
#include "tst_lenientnumber.moc"
