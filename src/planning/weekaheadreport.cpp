#include "planning/weekaheadreport.h"

#include "planning/planningtexts.h"
#include "platform/gbkcodec.h"
#include "records/specimenrecord.h"
#include "report/csvtext.h"

using namespace planningtexts;

namespace {

using recordcolumns::kDueTimeFirst;
constexpr int kColumns = int(std::size(kDueTimeFirst));

// The columns of one entry.
QStringList entryRow(const WeekAheadEntry& entry, QByteArrayView fileBytes) {
    const QStringList fields =
        splitRecordLine(gbk::decode(fileBytes.sliced(entry.line.start, entry.line.length)));
    QStringList row;
    row.reserve(kColumns);
    for (int field : kDueTimeFirst) row << fields.value(field);
    return row;
}

QString dayText(QDate date) {
    return date.toString(Qt::ISODate) + QLatin1Char(' ') + kWeekdays.at(date.dayOfWeek() - 1);
}

}  // namespace

QString weekAheadGroupText(const WeekAheadGroup& group) {
    const QString day = group.date.isValid() ? dayText(group.date) : kOverdue;
    return kGroupLine.arg(day).arg(group.count).arg(group.groups);
}

ReportTable weekAheadTestingList(const WeekAhead& week, QByteArrayView fileBytes) {
    ReportTable list;
    list.title = kListTitle;
    list.columns = kWeekColumns.mid(0, kColumns - 1) << kDoneColumn;
    int batches = 0;
    int overdue = 0;
    qint64 groups = 0;
    for (const WeekAheadGroup& g : week.groups) {
        if (!g.date.isValid()) {
            overdue += g.count;
            continue;
        }
        ReportGroup group{weekAheadGroupText(g), {}};
        for (int i = g.first; i < g.first + g.count; ++i) {
            const WeekAheadEntry& entry = week.entries.at(i);
            QStringList row = entryRow(entry, fileBytes);
            // The day stands in the heading; the time is what the bench needs.
            const int hhmm = int(entry.dueKey % 10000);
            row[0] = QStringLiteral("%1:%2")
                         .arg(hhmm / 100, 2, 10, QLatin1Char('0'))
                         .arg(hhmm % 100, 2, 10, QLatin1Char('0'));
            row.last().clear();
            group.rows << row;
        }
        batches += g.count;
        groups += g.groups;
        list.groups << group;
    }
    list.summary = kListSummary.arg(dayText(week.today), dayText(week.today.addDays(week.days - 1)))
                       .arg(batches)
                       .arg(groups);
    if (overdue > 0) list.summary += kListOverdue.arg(overdue);
    return list;
}

QByteArray weekAheadCsv(const WeekAhead& week, QByteArrayView fileBytes) {
    QByteArray out(csv::kByteOrderMark);
    csv::appendRow(out, kWeekColumns);
    for (const WeekAheadGroup& g : week.groups) {
        if (!g.date.isValid()) continue;
        for (int i = g.first; i < g.first + g.count; ++i)
            csv::appendRow(out, entryRow(week.entries.at(i), fileBytes));
    }
    return out;
}
