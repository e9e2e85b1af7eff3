#pragma once
// The same-condition records of a.bz (养护方式 "同级养护" or "同条件养护", blanks around it
// ignored), found in the file's raw bytes; only their lines are decoded. QtCore only.

#include <QByteArrayView>
#include <QList>
#include <QStringList>
#include <optional>

#include "planning/equivalentage.h"
#include "planning/rawrecordline.h"

struct SameConditionRecord {
    rawline::Span line;
    QStringList fields;                  // the decoded fields of the line
    std::optional<qint64> dueKey;        // of its current due time, when that can be read
    std::optional<CastingTime> casting;  // when its casting date can be read

    QString field(int index) const { return index < fields.size() ? fields.at(index) : QString(); }
};

// Those due after the time given as a rawline::dueKey(): a record due by then is never listed
// again, so no line of the long past is decoded.
QList<SameConditionRecord> findSameConditionRecords(QByteArrayView fileBytes, qint64 dueAfter);
