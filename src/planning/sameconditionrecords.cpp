#include "planning/sameconditionrecords.h"

#include "platform/gbkcodec.h"
#include "platform/textfile.h"
#include "records/specimenrecord.h"

namespace {

constexpr int kCastingDateField = 3;
constexpr int kDueTimeField = 5;
constexpr int kCuringMethodField = 6;

}  // namespace

QList<SameConditionRecord> findSameConditionRecords(QByteArrayView fileBytes, qint64 dueAfter) {
    static const QByteArray kMethods[] = {gbk::encode(u"同级养护"), gbk::encode(u"同条件养护")};
    QList<SameConditionRecord> records;
    forEachLine(fileBytes, [&](QByteArrayView line) {
        const rawline::Span span{line.data() - fileBytes.data(), line.size()};
        const auto method = rawline::field(line, kCuringMethodField);
        if (!method || !(rawline::equalsTrimmed(*method, kMethods[0]) ||
                         rawline::equalsTrimmed(*method, kMethods[1])))
            return;
        const auto due = rawline::dueKey(*rawline::field(line, kDueTimeField));
        if (!due || *due <= dueAfter) return;
        SameConditionRecord r;
        r.line = span;
        r.fields = splitRecordLine(gbk::decode(line));
        r.dueKey = due;
        r.casting = parseCastingTime(r.field(kCastingDateField));
        records.append(std::move(r));
    });
    return records;
}
