#include "planning/weekahead.h"

#include <algorithm>

#include "platform/lenientnumber.h"
#include "platform/textfile.h"

namespace {

constexpr int kDueTimeField = 5;
constexpr int kGroupCountField = 8;

}  // namespace

qint64 groupCountOf(QByteArrayView field) {
    // The number is ASCII; a GBK character ends it like any other letter.
    return leadingInteger(QString::fromLatin1(field.first(qMin<qsizetype>(field.size(), 32))));
}

WeekAhead selectWeekAhead(QByteArrayView fileBytes, QDate today, int days) {
    WeekAhead result;
    result.today = today;
    result.days = qMax(days, 1);
    const qint64 from = rawline::dueKey(today, 0);
    const qint64 until = rawline::dueKey(today.addDays(result.days), 0);
    forEachLine(fileBytes, [&](QByteArrayView line) {
        const rawline::Span span{line.data() - fileBytes.data(), line.size()};
        const auto due = rawline::field(line, kDueTimeField);
        if (!due) return;
        const auto key = rawline::dueKey(*due);
        if (!key || *key >= until) return;
        const auto groups = rawline::field(line, kGroupCountField);
        result.entries.append({*key, span, groups ? groupCountOf(*groups) : 0});
    });
    // Entries were appended in file order, so a stable sort keeps ties in that order.
    std::stable_sort(
        result.entries.begin(), result.entries.end(),
        [](const WeekAheadEntry& a, const WeekAheadEntry& b) { return a.dueKey < b.dueKey; });

    qint64 groupDay = -1;  // the date part of the keys of the last group; 0 for the overdue
    for (int i = 0; i < result.entries.size(); ++i) {
        const WeekAheadEntry& e = result.entries.at(i);
        const qint64 day = e.dueKey < from ? 0 : e.dueKey / 10000;
        if (day != groupDay) {
            result.groups.append({day ? rawline::dueKeyDate(e.dueKey) : QDate(), i, 0, 0});
            groupDay = day;
        }
        WeekAheadGroup& group = result.groups.last();
        ++group.count;
        group.groups += e.groups;
    }
    return result;
}
