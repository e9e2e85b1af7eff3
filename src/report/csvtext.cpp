#include "report/csvtext.h"

namespace {

// Whether the text is a number a spreadsheet reads as one, with its sign: "-3", "+0.5".
bool isPlainNumber(QStringView text) {
    if (text.size() < 2) return false;
    bool digits = false;
    bool point = false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= u'0' && c <= u'9')
            digits = true;
        else if (c == u'.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

bool startsFormula(const QString& text) {
    if (text.isEmpty()) return false;
    const QChar first = text.front();
    if (first == u'=' || first == u'@' || first == u'\t' || first == u'\r') return true;
    return (first == u'+' || first == u'-') && text.size() > 1 && !isPlainNumber(text);
}

}  // namespace

namespace csv {

QString field(const QString& text) {
    QString value = startsFormula(text) ? QLatin1Char('\'') + text : text;
    const bool quote = value.contains(u',') || value.contains(u'"') || value.contains(u'\r') ||
                       value.contains(u'\n');
    if (!quote) return value;
    value.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + value + QLatin1Char('"');
}

void appendRow(QByteArray& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += field(fields.at(i)).toUtf8();
    }
    out += "\r\n";
}

QByteArray document(const QStringList& headings, const QList<QStringList>& rows) {
    QByteArray out(kByteOrderMark);
    appendRow(out, headings);
    for (const QStringList& row : rows) appendRow(out, row);
    return out;
}

}  // namespace csv
