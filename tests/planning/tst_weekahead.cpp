// Selecting from the raw bytes of a.bz: the week ahead (range, order, groups, sums, overdue lines)
// and the same-condition records.

#include <QTest>

#include "planning/sameconditionrecords.h"
#include "planning/weekahead.h"
#include "platform/gbkcodec.h"
#include "platform/textfile.h"

namespace {

QString line(const char* part, const char* due, const char* groups = "2",
             const char* method = "标准养护") {
    return QStringLiteral("%1,C30,PB-017,2024-3-7 09:05,28,%2,%3,36,%4,,")
        .arg(QString::fromUtf8(part), QString::fromUtf8(due), QString::fromUtf8(method),
             QString::fromUtf8(groups));
}

// a.bz as the lab leaves it, today being Thursday 2024-04-04.
QByteArray labFile() {
    const QStringList lines = {
        line("A", "2024-04-04 09:05"),
        line("B", "2024-04-03 23:59", "3"),
        line("C", "2024-04-10 23:59", "x"),
        line("D", "2024-04-11 00:00"),
        line("E", "2024-04-04 08:00", "2组"),
        line("F", "2024-04-04 08:00", " 1"),
        QStringLiteral("G,C30,PB,2023-12-31 10:00,28,2023-12-31 10:00,标准养护,1,1,,到期"),
        QStringLiteral("H,C30"),
        QStringLiteral(",,,,,,,,,,"),
        line("I", "2024-4-5 09:00"),
        line("J", "2024-04-05"),
        QStringLiteral("K,C30,PB,2024-3-7 09:05,28,2024-04-05 10:00,标准养护,1,4,备注,到期,多余"),
        line("L", "2024-02-30 10:00"),
        line("M", "2024-05-01 10:00"),
    };
    return gbk::encode(lines.join(QStringLiteral("\r\n"))) +
           "\r\n\xb5,C30,x,y,z,2024-04-06 10:00,k,l,1,n,";
}

// "date count/groups: parts | ...", "overdue" for the group of earlier days.
QString render(const WeekAhead& week, QByteArrayView bytes) {
    QStringList groups;
    for (const WeekAheadGroup& g : week.groups) {
        QStringList parts;
        for (int i = g.first; i < g.first + g.count; ++i) {
            const rawline::Span s = week.entries.at(i).line;
            parts << gbk::decode(bytes.sliced(s.start, s.length)).section(u',', 0, 0);
        }
        groups << QStringLiteral("%1 %2/%3: %4")
                      .arg(g.date.isValid() ? g.date.toString(Qt::ISODate) : "overdue")
                      .arg(g.count)
                      .arg(g.groups)
                      .arg(parts.join(u' '));
    }
    return groups.join(QStringLiteral(" | "));
}

}  // namespace

class TestWeekAhead : public QObject {
    Q_OBJECT
  private slots:
    void weekAhead_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("groups");
        QTest::newRow("a week from today")
            << labFile() << 7
            << "overdue 2/4: G B | 2024-04-04 3/5: E F A | 2024-04-05 2/6: J K | "
               "2024-04-06 1/1: \uFFFD | 2024-04-10 1/0: C";
        QTest::newRow("today only") << labFile() << 1 << "overdue 2/4: G B | 2024-04-04 3/5: E F A";
        QTest::newRow("the eighth day starts at its midnight")
            << labFile() << 8
            << "overdue 2/4: G B | 2024-04-04 3/5: E F A | 2024-04-05 2/6: J K | "
               "2024-04-06 1/1: \uFFFD | 2024-04-10 1/0: C | 2024-04-11 1/2: D";
        QTest::newRow("empty file") << QByteArray() << 7 << "";
        QTest::newRow("lone CR and LF line ends")
            << gbk::encode(line("A", "2024-04-05 10:00") + QChar(u'\r') +
                           line("B", "2024-04-05 09:00") + QChar(u'\n') +
                           line("C", "2024-04-01 09:00"))
            << 7 << "overdue 1/2: C | 2024-04-05 2/4: B A";
    }
    void weekAhead() {
        QFETCH(QByteArray, file);
        QFETCH(int, days);
        QTEST(render(selectWeekAhead(file, QDate(2024, 4, 4), days), file), "groups");
    }

    // Lines are cut exactly where the program's shared line splitter cuts them.
    void lines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF, none at the end") << QByteArray("a\r\nb");
        QTest::newRow("CR LF at the end") << QByteArray("a\r\nb\r\n");
        QTest::newRow("lone CRs only") << QByteArray("a\rb\r\rc");
        QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb");
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb");
        QTest::newRow("empty lines and a lone LF") << QByteArray("\r\n\r\na\nb\n\n");
        QTest::newRow("one line end only") << QByteArray("\r");
        QTest::newRow("nothing") << QByteArray();
    }
    void lines() {
        QFETCH(QByteArray, bytes);
        QList<QByteArray> cut;
        rawline::forEachLine(bytes, [&](rawline::Span s) { cut << bytes.mid(s.start, s.length); });
        QCOMPARE(cut, splitLines(bytes));
    }

    void sameCondition_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<bool>("selected");
        QTest::newRow("同级养护") << "同级养护" << true;
        QTest::newRow("同条件养护") << "同条件养护" << true;
        QTest::newRow("blanks and tabs around") << " \t同条件养护  " << true;
        QTest::newRow("full-width blanks around") << "　同级养护　" << true;
        QTest::newRow("standard curing") << "标准养护" << false;
        QTest::newRow("text after") << "同级养护2" << false;
        QTest::newRow("a character before") << "啊同级养护" << false;
        QTest::newRow("blank inside") << "同级 养护" << false;
        QTest::newRow("empty") << "" << false;
    }
    void sameCondition() {
        QFETCH(QString, method);
        const QByteArray file =
            gbk::encode(line("X", "2024-04-30 09:05", "2", "标准养护") + QStringLiteral("\r\n") +
                        line("Y", "2024-04-30 09:05", "2", qPrintable(method)) +
                        QStringLiteral("\r\n同级养护,同级养护"));
        const QList<SameConditionRecord> found = findSameConditionRecords(file, 202404300904);
        QTEST(found.size() == 1, "selected");
        if (found.isEmpty()) return;
        QCOMPARE(found[0].field(0), "Y");
        QCOMPARE(found[0].dueKey.value_or(0), 202404300905);
        QVERIFY(findSameConditionRecords(file, 202404300905).isEmpty());
        QCOMPARE(found[0].casting->date, QDate(2024, 3, 7));
        const rawline::Span s = found[0].line;
        QVERIFY(file.mid(s.start, s.length).startsWith("Y,"));
        QVERIFY(file.mid(s.start, s.length).endsWith(",,"));
    }
};

QTEST_APPLESS_MAIN(TestWeekAhead)
#include "tst_weekahead.moc"
