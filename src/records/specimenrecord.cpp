#include "records/specimenrecord.h"

#include <QDate>

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
    // The list is allocated once: growing it field by field costs more than the fields themselves
    // when tens of thousands of lines are loaded.
    QStringList fields;
    fields.reserve(line.count(u',') + 1);
    qsizetype start = 0;
    for (qsizetype comma; (comma = line.indexOf(u',', start)) >= 0; start = comma + 1)
        fields.append(line.sliced(start, comma - start));
    fields.append(line.sliced(start));
    return fields;
}

QString joinRecordLine(const QStringList& fields) {
    return fields.join(u',');
}

bool isDueTimeText(QStringView text) {
    static const QLatin1String kShape("dddd-dd-dd dd:dd");
    if (text.size() != kShape.size()) return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool digit = text.at(i) >= u'0' && text.at(i) <= u'9';
        if (kShape.at(i) == u'd' ? !digit : text.at(i) != kShape.at(i)) return false;
    }
    const auto number = [text](qsizetype from, qsizetype length) {
        return text.mid(from, length).toInt();
    };
    return QDate(number(0, 4), number(5, 2), number(8, 2)).isValid() && number(11, 2) < 24 &&
           number(14, 2) < 60;
}
