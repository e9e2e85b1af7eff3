#include "editor/typeddate.h"

#include <QRegularExpression>

std::optional<QDate> readTypedDate(QStringView text) {
    static const QRegularExpression kForm(
        QStringLiteral("^([0-9]{4})(?:([-/])([0-9]{1,2})\\2([0-9]{1,2})|([0-9]{2})([0-9]{2}))$"));
    const QRegularExpressionMatch m = kForm.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const bool separated = m.capturedLength(2) > 0;
    const QDate date(m.capturedView(1).toInt(), m.capturedView(separated ? 3 : 5).toInt(),
                     m.capturedView(separated ? 4 : 6).toInt());
    if (!date.isValid()) return std::nullopt;
    return date;
}
