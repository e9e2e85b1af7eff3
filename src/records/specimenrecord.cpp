#include "records/specimenrecord.h"

QStringList SpecimenRecord::fields() const {
    return {projectPart,  strengthGrade, mixNumber,  castingDate, curingAgeDays, dueTime,
            curingMethod, quantity,      groupCount, remark,      dueMark};
}

SpecimenRecord SpecimenRecord::fromFields(const QStringList& f) {
    auto at = [&f](int i) { return i < f.size() ? f.at(i) : QString(); };
    return {at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7), at(8), at(9), at(10)};
}

QString dueMarkText() {
    return QStringLiteral("到期");
}

const QStringList& recordHeadings() {
    static const QStringList kHeadings = {
        QStringLiteral("编号"),       QStringLiteral("工程部位"), QStringLiteral("强度等级(C)"),
        QStringLiteral("配合比编号"), QStringLiteral("制作日期"), QStringLiteral("龄期（D）"),
        QStringLiteral("到期时间"),   QStringLiteral("养护方式"), QStringLiteral("工程量"),
        QStringLiteral("组数"),       QStringLiteral("备注"),     QStringLiteral("是否到期")};
    return kHeadings;
}

QStringList splitRecordLine(const QString& line) {
    if (line.isEmpty()) return {};
    return line.split(u',');
}

QString joinRecordLine(const QStringList& fields) {
    return fields.join(u',');
}
