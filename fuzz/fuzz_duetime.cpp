// The due-time computation over arbitrary inputs: a casting date from a wide range of years,
// months and days (invalid dates included) and the five typed texts, either free text or plain
// numbers as the editor's fields usually hold them; then Timesorting over an arbitrary raw text.
// Where the inputs are plain numbers in the fields' ranges, the due time must match a reference
// computed from whole minutes.

#include <fuzzer/FuzzedDataProvider.h>

#include <QDate>
#include <QString>
#include <cmath>
#include <cstdint>
#include <optional>

#include "editor/duetime.h"
#include "fuzzsupport.h"
#include "platform/lenientnumber.h"

namespace {

// A plain number in [0, limit]: digits only, at most `digits` of them.
std::optional<int> plainNumber(const QString& text, int digits, int limit) {
    if (text.isEmpty() || text.size() > digits) return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > limit) return std::nullopt;
    return value;
}

// One typed field: free text, or a number written with or without a leading zero.
QString field(FuzzedDataProvider& fdp, int limit) {
    if (fdp.ConsumeBool()) return QString::fromStdString(fdp.ConsumeRandomLengthString(12));
    const int value = fdp.ConsumeIntegralInRange(0, limit);
    return fdp.ConsumeBool() ? QString::number(value)
                             : QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The due time from whole minutes, when every input is a plain number in its field's range.
std::optional<std::optional<QString>> reference(const QDate& date, const QString& hour,
                                                const QString& minute, const QString& days,
                                                const QString& ageHours,
                                                const QString& ageMinutes) {
    const auto h = plainNumber(hour, 2, 23);
    const auto m = plainNumber(minute, 2, 59);
    const auto d = plainNumber(days, 6, 999999);
    const auto ah = plainNumber(ageHours, 2, 23);
    const auto am = plainNumber(ageMinutes, 2, 59);
    if (!date.isValid() || !h || !m || !d || !ah || !am) return std::nullopt;
    if (*d < 1) return std::optional<QString>();
    const int minutes = (*h + *ah) * 60 + *m + *am;
    const QDate due = date.addDays(*d + minutes / 1440);
    if (due.year() < 1 || due.year() > 9999) return std::optional<QString>();
    const int time = minutes % 1440;
    return std::optional<QString>(due.toString(QStringLiteral("yyyy-MM-dd ")) +
                                  QStringLiteral("%1:%2")
                                      .arg(time / 60, 2, 10, QLatin1Char('0'))
                                      .arg(time % 60, 2, 10, QLatin1Char('0')));
}

// The raw text writes each sum so that reading it back gives the sum again.
void checkNumberText(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e15) return;
    if (value != 0 && std::fabs(value) < 1e-4) return;  // written with an exponent
    const QString text = numberText(value);
    fuzzCheck(text.startsWith(value < 0 ? u'-' : u' '), "a number text starts with blank or -");
    const double back = leadingNumber(text);
    fuzzCheck(std::fabs(back - value) <= 1e-13 * std::fabs(value), "a number text reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    const int year = fdp.ConsumeIntegralInRange(-20000, 20000);
    const int month = fdp.ConsumeIntegralInRange(0, 13);
    const int day = fdp.ConsumeIntegralInRange(0, 32);
    const QDate date(year, month, day);
    const QString hour = field(fdp, 99);
    const QString minute = field(fdp, 99);
    const QString days = fdp.ConsumeBool()
                             ? QString::number(fdp.ConsumeIntegralInRange(-3, 4000000))
                             : QString::fromStdString(fdp.ConsumeRandomLengthString(12));
    const QString ageHours = field(fdp, 99);
    const QString ageMinutes = field(fdp, 99);

    const std::optional<QString> raw = rawDueTime(date, hour, minute, days, ageHours, ageMinutes);
    const std::optional<QString> due = tianjia(date, hour, minute, days, ageHours, ageMinutes);
    fuzzCheck(raw.has_value() == due.has_value(), "a due time exactly when a raw text");
    if (raw) {
        fuzzCheck(*due == Timesorting(*raw), "the due time is the normalised raw text");
        fuzzCheck(curingDayCount(days) >= 1, "a due time needs a day at least");
        // A negative hour follows the date without a blank: "2024-3-8-3: 0".
        const QDate dueDate = QDate::fromString(raw->section(u' ', 0, 0).section(u'-', 0, 2),
                                                QStringLiteral("yyyy-M-d"));
        fuzzCheck(dueDate.isValid() && dueDate >= date, "the raw text starts with a later date");
    }
    if (const auto expected = reference(date, hour, minute, days, ageHours, ageMinutes))
        fuzzCheck(due == *expected, "plain inputs give the calendar's due time");

    checkNumberText(leadingNumber(ageHours) + leadingNumber(hour));
    checkNumberText(leadingNumber(ageMinutes) + leadingNumber(minute));

    const QString anyRaw = QString::fromStdString(fdp.ConsumeRemainingBytesAsString());
    const QString sorted = Timesorting(anyRaw);
    fuzzCheck(sorted.count(u' ') >= 1 && sorted.count(u':') >= 1 && sorted.count(u'-') >= 2,
              "a normalised text has its separators");
    return 0;
}
