#include "planning/temperaturelog.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>

#include "platform/gbkcodec.h"
#include "platform/textfile.h"

namespace {

const QString kHeader = QStringLiteral("日期,日平均气温");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

struct Day {
    QDate date;
    int tenths = 0;
};

// UTF-8 when the bytes carry its mark or are valid UTF-8 throughout; GBK otherwise.
QString decodeText(QByteArrayView bytes) {
    if (bytes.startsWith("\xef\xbb\xbf")) bytes = bytes.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? gbk::decode(bytes) : text;
}

QString unquoted(QStringView field) {
    field = field.trimmed();
    if (field.size() >= 2 && field.startsWith(u'"') && field.endsWith(u'"'))
        field = field.sliced(1, field.size() - 2).trimmed();
    return field.toString();
}

// A line "date,T", with blanks and quotes around the fields and empty fields after them allowed.
std::optional<Day> parseLine(const QString& line, bool round) {
    const QStringList fields = line.split(u',');
    if (fields.size() < 2) return std::nullopt;
    for (qsizetype i = 2; i < fields.size(); ++i)
        if (!unquoted(fields.at(i)).isEmpty()) return std::nullopt;
    const QDate date = TemperatureLog::parseDate(unquoted(fields.at(0)));
    const auto tenths = TemperatureLog::parseTenths(unquoted(fields.at(1)), round);
    if (!date.isValid() || !tenths) return std::nullopt;
    return Day{date, *tenths};
}

bool isHeader(const QString& line) {
    const QString first = unquoted(line.section(u',', 0, 0));
    return std::none_of(first.begin(), first.end(), [](QChar c) { return c.isDigit(); });
}

}  // namespace

QDate TemperatureLog::parseDate(QStringView text) {
    const QChar sep = text.contains(u'/') ? u'/' : text.contains(u'.') ? u'.' : u'-';
    const auto parts = text.split(sep);
    if (parts.size() != 3 || parts[0].size() != 4) return {};
    int values[3];
    for (int i = 0; i < 3; ++i) {
        const QStringView p = parts[i];
        if (p.isEmpty() || p.size() > 4 || (i > 0 && p.size() > 2)) return {};
        if (!std::all_of(p.begin(), p.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return {};
        values[i] = p.toInt();
    }
    return QDate(values[0], values[1], values[2]);
}

std::optional<int> TemperatureLog::parseTenths(QStringView text, bool round) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    auto digit = [&](qsizetype at) {
        return at < text.size() && text[at] >= u'0' && text[at] <= u'9';
    };
    if (!digit(i)) return std::nullopt;
    qint64 whole = 0;
    for (; digit(i); ++i) {
        whole = whole * 10 + (text[i].unicode() - u'0');
        if (whole > kLimitTenths) return std::nullopt;
    }
    int tenth = 0;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        if (!digit(i)) return std::nullopt;
        tenth = text[i].unicode() - u'0';
        ++i;
        if (digit(i)) {
            if (!round) return std::nullopt;
            if (text[i] >= u'5') ++tenth;
            while (digit(i)) ++i;
        }
    }
    if (i != text.size()) return std::nullopt;
    const qint64 value = whole * 10 + tenth;
    if (value > kLimitTenths) return std::nullopt;
    return int(negative ? -value : value);
}

QString TemperatureLog::tenthsText(int tenths) {
    const QString sign = tenths < 0 ? QStringLiteral("-") : QString();
    const int magnitude = qAbs(tenths);
    if (magnitude % 10 == 0) return sign + QString::number(magnitude / 10);
    return sign + QStringLiteral("%1.%2").arg(magnitude / 10).arg(magnitude % 10);
}

TemperatureLog TemperatureLog::fromBytes(QByteArrayView bytes) {
    TemperatureLog log;
    QDate previous;  // the last readable day so far
    struct InForce {
        QDate after;
        QByteArray raw;
    };
    QHash<QDate, InForce> lineOf;  // the line in force for each date, and where it stood
    const QList<QByteArray> lines = splitLines(bytes.toByteArray());
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QByteArray& raw = lines.at(n);
        if (raw.trimmed().isEmpty()) continue;
        const QString text = decodeText(raw).trimmed();
        if (n == 0 && text == kHeader) continue;
        const auto day = parseLine(text, false);
        if (!day) {
            log.m_kept.append({previous, raw});
            continue;
        }
        // A later line of a date counts; the earlier one is kept where it stood.
        const auto earlier = lineOf.constFind(day->date);
        if (earlier != lineOf.cend()) log.m_kept.append({earlier->after, earlier->raw});
        lineOf.insert(day->date, {previous, raw});
        log.m_days.insert(day->date, day->tenths);
        previous = day->date;
    }
    return log;
}

QByteArray TemperatureLog::toBytes() const {
    // Days in date order; each kept line after the day it followed (or first), in its old order.
    QList<KeptLine> kept = m_kept;
    std::stable_sort(kept.begin(), kept.end(),
                     [](const KeptLine& a, const KeptLine& b) { return a.after < b.after; });
    QByteArray bytes = gbk::encode(kHeader) + kLineEnd;
    auto next = kept.cbegin();
    auto keptUpTo = [&](QDate date) {
        for (; next != kept.cend() && !(date < next->after); ++next)
            bytes += next->bytes + kLineEnd;
    };
    keptUpTo(QDate());
    for (auto it = m_days.cbegin(); it != m_days.cend(); ++it) {
        keptUpTo(it.key().addDays(-1));
        bytes +=
            it.key().toString(Qt::ISODate).toLatin1() + ',' + tenthsText(*it).toLatin1() + kLineEnd;
        keptUpTo(it.key());
    }
    for (; next != kept.cend(); ++next) bytes += next->bytes + kLineEnd;
    return bytes;
}

TemperatureLog::ImportReport TemperatureLog::import(QByteArrayView bytes) {
    ImportReport report;
    bool first = true;
    const QList<QByteArray> lines = splitLines(bytes.toByteArray());
    for (int n = 0; n < lines.size(); ++n) {
        const QString text = decodeText(lines.at(n)).trimmed();
        if (text.isEmpty()) continue;
        const auto day = parseLine(text, true);
        if (day) {
            m_days.insert(day->date, day->tenths);
            ++report.taken;
        } else if (!(first && isHeader(text))) {
            report.skippedLines.append(n + 1);
        }
        first = false;
    }
    return report;
}
