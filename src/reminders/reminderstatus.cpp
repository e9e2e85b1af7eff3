#include "reminders/reminderstatus.h"

#include <QStringList>

#include "records/recordgrid.h"
#include "records/specimenrecord.h"
#include "reminders/dueminute.h"

ReminderStatus ReminderStatus::of(const RecordGrid& grid, const QString& now, const QDate& listDay,
                                  int advanceMinutes) {
    ReminderStatus status;
    const QString day = listDay.toString(QStringLiteral("yyyy-MM-dd"));
    const QString until = advanceMinutes > 0 ? addMinutes(now, advanceMinutes) : now;
    const QString dueMark = dueMarkText();
    QString next;
    QString soonFirst;
    for (int r = 1; r < grid.rows(); ++r) {
        if (grid.textMatrix(r, recordcolumns::kNumber).isEmpty()) continue;  // the trailing row
        const QString due = dueMinuteText(grid.textMatrix(r, recordcolumns::kDueTime));
        const bool marked = grid.textMatrix(r, recordcolumns::kDueMark) == dueMark;
        if (due.isEmpty() || QStringView(due).left(10) >= day) {
            ++status.today;
            status.arrived += marked;
        }
        if (marked || due.isEmpty()) continue;
        ++status.pending;
        if (due <= now) {
            ++status.waiting;
            continue;
        }
        if (next.isEmpty() || due < next) next = due;
        if (due > until) continue;
        ++status.soon;
        if (soonFirst.isEmpty() || due < soonFirst) soonFirst = due;
    }
    if (!next.isEmpty()) status.next = shortDueText(next, now);
    if (!soonFirst.isEmpty()) status.soonFirst = shortDueText(soonFirst, now);
    return status;
}

QString ReminderStatus::text() const {
    QStringList parts{QStringLiteral("今日 %1 批").arg(today),
                      QStringLiteral("已到 %1").arg(arrived)};
    if (!next.isEmpty()) parts << QStringLiteral("下一批 %1").arg(next);
    if (waiting > 0) parts << QStringLiteral("待补发 %1 批").arg(waiting);
    if (soon > 0) parts << QStringLiteral("即将到期 %1 批（%2）").arg(soon).arg(soonFirst);
    if (alarming()) parts.prepend(QStringLiteral("提醒已停止"));
    return parts.join(QStringLiteral(" · "));
}
