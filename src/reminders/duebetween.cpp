#include "reminders/duebetween.h"

#include <QDate>
#include <algorithm>
#include <optional>

#include "planning/rawrecordline.h"
#include "platform/bytesearch.h"
#include "platform/gbkcodec.h"
#include "platform/textfile.h"
#include "records/recordgrid.h"
#include "records/specimenrecord.h"
#include "reminders/dueminute.h"

namespace {

constexpr int kDueTimeField = recordcolumns::kDueTime - 1;
constexpr int kDueMarkField = recordcolumns::kDueMark - 1;

// "YYYY-MM-" of every month from the first minute's to the last's.
QList<QByteArray> monthNeedles(const QString& first, const QString& last) {
    QList<QByteArray> needles;
    QDate month = QDate::fromString(first.left(7) + QStringLiteral("-01"), Qt::ISODate);
    const QDate end = QDate::fromString(last.left(7) + QStringLiteral("-01"), Qt::ISODate);
    for (; month.isValid() && month <= end; month = month.addMonths(1))
        needles.append(month.toString(QStringLiteral("yyyy-MM-")).toLatin1());
    return needles;
}

// The offsets in the block of the starts of the lines in which a needle occurs.
void findLineStarts(QByteArrayView block, const QByteArray& needle, QList<qsizetype>& starts) {
    const char* const begin = block.data();
    const char* const end = begin + block.size();
    for (const char* p = begin; p < end;) {
        const char* const found = findBytes(p, end, needle);
        if (found == end) break;
        const char* start = found;
        while (start > begin && start[-1] != '\n' && start[-1] != '\r') --start;
        starts.append(start - begin);
        const char* lineEnd = found;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r') ++lineEnd;
        p = lineEnd;
    }
}

}  // namespace

LoadReport loadDueBetween(RecordGrid& grid, const QString& dataFilePath, const QString& first,
                          const QString& last) {
    RecordGrid::BulkUpdate bulk(grid);
    const int rowsBefore = grid.rows();
    LineBlockReader reader(dataFilePath);
    LoadReport report{reader.status(), reader.error(), 0};
    const QList<QByteArray> needles =
        first <= last ? monthNeedles(first, last) : QList<QByteArray>();
    QByteArray block;
    while (!needles.isEmpty() && reader.next(block)) {
        QList<qsizetype> starts;
        for (const QByteArray& needle : needles) findLineStarts(block, needle, starts);
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        for (const qsizetype start : starts) {
            const QByteArrayView rest = QByteArrayView(block).sliced(start);
            const QByteArrayView line =
                rest.first(std::find_if(rest.begin(), rest.end(),
                                        [](char c) { return c == '\r' || c == '\n'; }) -
                           rest.begin());
            // Field 5 read from the bytes: ASCII never occurs inside a GBK character.
            const std::optional<QByteArrayView> field = rawline::field(line, kDueTimeField);
            if (!field) continue;
            const QString due = dueMinuteText(gbk::decode(*field));
            if (due.isEmpty() || due < first || due > last) continue;
            const QStringList fields = splitRecordLine(gbk::decode(line));
            if (fields.value(kDueMarkField) == dueMarkText()) continue;
            appendRecordRow(grid, fields);
            ++report.taken;
        }
    }
    if (reader.status() != FileStatus::Ok) {
        grid.setRows(rowsBefore - 1);
        grid.setRows(rowsBefore);
        report = LoadReport{reader.status(), reader.error(), 0};
    }
    numberRows(grid);
    return report;
}
