#pragma once
// The temperature log qw.csv beside a.bz: GBK, CR LF, the header line "日期,日平均气温", then one
// line "YYYY-MM-DD,T" per date, T the daily mean air temperature in ℃ with at most one decimal
// (negative allowed). Temperatures are kept in tenths of a degree, so sums are exact.
//
// A line that cannot be read (and an earlier line of a date that a later line gives again) is kept
// byte for byte: it is written back near where it stood, after the day that preceded it, and
// counted, but never used. QtCore only.

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

class TemperatureLog {
  public:
    static constexpr int kLimitTenths = 600;  // ±60 ℃: anything beyond is a typing error

    struct ImportReport {
        int taken = 0;  // lines taken (a date given twice counts twice; the last one wins)
        // The lines that could not be read, numbered from 1 as a text editor numbers them (blank
        // lines and a header are not among them).
        QList<int> skippedLines;
    };

    // Reads the bytes of qw.csv (GBK; UTF-8 is recognised too).
    static TemperatureLog fromBytes(QByteArrayView bytes);
    // The bytes of qw.csv.
    QByteArray toBytes() const;

    const QMap<QDate, int>& days() const { return m_days; }  // date -> tenths of ℃
    int unreadableCount() const { return int(m_kept.size()); }

    void setDay(QDate date, int tenths) { m_days.insert(date, tenths); }
    bool removeDay(QDate date) { return m_days.remove(date) > 0; }
    // Takes the days of a CSV file of the same two columns, UTF-8 or GBK, with or without a header,
    // "-", "/" or "." in dates; temperatures with more decimals are rounded to one. A day taken
    // replaces a logged day of the same date.
    ImportReport import(QByteArrayView bytes);

    // "YYYY-MM-DD", "YYYY/M/D", "YYYY.M.D" and the like, one kind of separator throughout; an
    // invalid date for anything else.
    static QDate parseDate(QStringView text);
    // Tenths of ℃ from "12", "-3.5", "+0.4"; with `round`, any number of decimals is rounded to
    // one (halves away from zero). Nothing for other texts and beyond ±60 ℃.
    static std::optional<int> parseTenths(QStringView text, bool round = false);
    // "12", "-3.5", "-0.4".
    static QString tenthsText(int tenths);

  private:
    struct KeptLine {
        QDate after;  // the readable day before it in the file; invalid: before every day
        QByteArray bytes;
    };

    QMap<QDate, int> m_days;
    QList<KeptLine> m_kept;
};
