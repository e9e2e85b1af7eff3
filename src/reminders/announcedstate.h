#pragma once
// Which records have been announced in the last days, and up to which minute the due scan has
// watched, kept beside a.bz so that a restart neither repeats a reminder nor forgets one. QtCore
// only.
//
// The file is GBK text with CR LF line ends: a comment line, the minute the scan last watched up
// to, then one line per announcement, in the order they were given:
//
//     已检查至<TAB>2024-04-04 09:05
//     2024-04-04 09:05<TAB>3f0c4a1d9b2e7c55<TAB>一号楼柱,C30,PB-017,2024-3-7 09:05,28,...
//
// An announcement is the due minute, the record's identity (the first 16 hex digits of the SHA-1
// of the record's ten fields joined by commas, as UTF-8) and those fields themselves, for a
// reader. A record is known by its identity alone, so the same record with a changed due time is
// a different record, and two identical records announced both have two lines. Lines that do not
// read so (a damaged or hand-edited file) are skipped: at worst a record is announced once more,
// never missed. A file without the 已检查至 line (as earlier versions wrote it) has no such
// minute. The file is replaced as a whole and atomically.

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

class AnnouncedState {
  public:
    explicit AnnouncedState(QString path);

    const QString& path() const { return m_path; }

    // Reads the file; a missing or unreadable file gives no entries and no minute.
    void load();
    // Writes everything; false, with the reason in Chinese, when the file could not be replaced.
    bool save(QString* error = nullptr) const;

    // Drops the entries due before the day (never those of a later day); true when some were.
    bool dropBefore(const QDate& day);

    static QString identityOf(const QString& recordText);
    void add(const QString& dueMinute, const QString& recordText);
    // A record corrected without a change of its due time keeps its announcement: when `fromText`
    // was announced, `toText` is recorded as announced in the same minute. True when it was.
    bool carryOver(const QString& fromText, const QString& toText);
    // How many announcements each identity has.
    QHash<QString, int> counts() const;
    int size() const { return static_cast<int>(m_entries.size()); }

    // The minute ("YYYY-MM-DD hh:mm") up to which every due record was announced or deliberately
    // left unannounced; empty when none is kept.
    const QString& lastScan() const { return m_lastScan; }
    void setLastScan(const QString& minute) { m_lastScan = minute; }

  private:
    struct Entry {
        QString dueMinute;
        QString identity;
        QString text;
    };

    QString m_path;
    QList<Entry> m_entries;
    QString m_lastScan;
};
