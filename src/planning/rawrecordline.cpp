#include "planning/rawrecordline.h"

namespace rawline {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number of the `count` digits at `at`, or -1.
int digits(QByteArrayView text, qsizetype at, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (!isDigit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

qint64 keyOf(int year, int month, int day, int minuteOfDay) {
    return ((year * 100LL + month) * 100 + day) * 10000 + (minuteOfDay / 60) * 100 +
           minuteOfDay % 60;
}

constexpr char kFullWidthBlank[] = "\xa1\xa1";

// The place after the blanks from `at` on (ASCII blanks and tabs, and the two bytes of the
// full-width blank).
qsizetype skipBlanks(QByteArrayView text, qsizetype at) {
    while (at < text.size()) {
        if (text[at] == ' ' || text[at] == '\t')
            at += 1;
        else if (text.sliced(at).startsWith(QByteArrayView(kFullWidthBlank, 2)))
            at += 2;
        else
            break;
    }
    return at;
}

// The minute of the day of " hh:mm" (one or more blanks first, one or two digits each, blanks
// after), or nothing.
std::optional<int> minuteOfDay(QByteArrayView text) {
    qsizetype at = skipBlanks(text, 0);
    if (at == 0) return std::nullopt;
    int parts[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        if (i == 1 && (at >= text.size() || text[at++] != ':')) return std::nullopt;
        const qsizetype start = at;
        while (at < text.size() && at - start < 3 && isDigit(text[at]))
            parts[i] = parts[i] * 10 + (text[at++] - '0');
        if (at == start || at - start > 2) return std::nullopt;
    }
    at = skipBlanks(text, at);
    if (at != text.size() || parts[0] > 23 || parts[1] > 59) return std::nullopt;
    return parts[0] * 60 + parts[1];
}

}  // namespace

std::optional<QByteArrayView> field(QByteArrayView line, int index) {
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype comma = line.indexOf(',', start);
        if (comma < 0) return std::nullopt;
        start = comma + 1;
    }
    if (line.isEmpty()) return std::nullopt;  // an empty line has no fields at all
    const qsizetype end = line.indexOf(',', start);
    return line.sliced(start, (end < 0 ? line.size() : end) - start);
}

qint64 dueKey(QDate date, int minuteOfDay) {
    int year, month, day;
    date.getDate(&year, &month, &day);
    return keyOf(year, month, day, minuteOfDay);
}

qint64 dueKey(const QDateTime& time) {
    return dueKey(time.date(), time.time().hour() * 60 + time.time().minute());
}

QDate dueKeyDate(qint64 key) {
    const qint64 day = key / 10000;
    return QDate(int(day / 10000), int(day / 100 % 100), int(day % 100));
}

std::optional<qint64> dueKey(QByteArrayView field) {
    // The due minute's own reading: blanks around and between date and time, the hour and minute
    // with or without their leading zero.
    qsizetype at = skipBlanks(field, 0);
    field = field.sliced(at);
    if (field.size() < 10 || field[4] != '-' || field[7] != '-') return std::nullopt;
    const int year = digits(field, 0, 4);
    const int month = digits(field, 5, 2);
    const int day = digits(field, 8, 2);
    if (year < 0 || month < 0 || day < 0 || !QDate::isValid(year, month, day)) return std::nullopt;
    return keyOf(year, month, day, minuteOfDay(field.sliced(10)).value_or(0));
}

bool equalsTrimmed(QByteArrayView field, QByteArrayView text) {
    // Blanks are skipped from the front character by character, so a full-width blank is only
    // ever taken at a character boundary; the same holds after the text.
    qsizetype at = skipBlanks(field, 0);
    if (!field.sliced(at).startsWith(text)) return false;
    at += text.size();
    at = skipBlanks(field, at);
    return at == field.size();
}

}  // namespace rawline
