#pragma once
// What the ts.ini fuzzers check, in memory and through a file alike: the values the profile reads
// and what one write of an entry leaves.

#include <QStringList>
#include <algorithm>

#include "fuzzsupport.h"
#include "platform/gbkcodec.h"
#include "platform/profile.h"
#include "reminders/reminderslot.h"

namespace profilechecks {

inline const QStringList kKeys = {QStringLiteral("是否显示"), QStringLiteral("编号"),
                                  QStringLiteral("备注"), QStringLiteral("Key"), QString()};
constexpr int kSampled = 4;  // sections whose entries are read, and compared around a write

inline bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == QChar(0x1A);
}

inline bool hasOuterBlanks(const QString& text) {
    return !text.isEmpty() && (isBlank(text.front()) || isBlank(text.back()));
}

// Names the writer can put into a header or an entry line that reads back as the same name.
inline bool writableName(const QString& name) {
    return !name.contains(u'\r') && !name.contains(u'\n') && !hasOuterBlanks(name) &&
           gbk::canEncode(name);
}

inline bool writableKey(const QString& key) {
    return writableName(key) && !key.contains(u'=') && !key.startsWith(u';') &&
           !key.startsWith(u'[');
}

// What reading gives back after writing the value: one line, in GBK, without outer blanks.
inline QString readBack(QString value) {
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    value = gbk::decode(gbk::encode(value));
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && isBlank(value.at(first))) ++first;
    while (last > first && isBlank(value.at(last - 1))) --last;
    return value.mid(first, last - first);
}

inline bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Text for a remark and for a written value: the file's last bytes. A NUL cannot pass through the
// platform's profile writer, which takes C strings.
inline QString tailText(const QByteArray& bytes) {
    return gbk::decode(bytes.right(24)).remove(QChar(0));
}

// The profile keeps every byte, its sections hold no brackets, and its values are one line each.
inline void checkReads(const QByteArray& bytes, const Profile& profile, const QStringList& names) {
    fuzzCheck(profile.bytes() == bytes, "a profile keeps every byte it was read from");
    for (const QString& name : names)
        fuzzCheck(!name.contains(u'[') && !name.contains(u']'), "section names hold no brackets");
    for (int i = 0; i < names.size() && i < kSampled; ++i) {
        for (const QString& key : kKeys) {
            const QString value = profile.value(names.at(i), key).value_or(QString());
            fuzzCheck(!value.contains(QChar(0)), "values hold no NUL");
            fuzzCheck(!value.contains(u'\r') && !value.contains(u'\n'), "a value is one line");
        }
    }
}

struct Entry {
    QString section;
    QString key;
    QString value;
};

// Three entries to write: the flag of the first section (a value replaced), a remark in a new
// section (the file's last bytes as text) and a value with blanks and line breaks in the last
// section (a key appended). Their keys differ, so none overwrites another.
inline QList<Entry> entriesToWrite(const QByteArray& bytes, const QStringList& names) {
    QList<Entry> entries = {
        {names.value(0, QStringLiteral("1|1")), ReminderSlot::shownKey(), QStringLiteral("1")},
        {QStringLiteral("Fuzz"), QStringLiteral("备注"), tailText(bytes)},
        {names.isEmpty() ? QStringLiteral("2|1") : names.last(), QStringLiteral("Key"),
         QStringLiteral(" \tpadded\r\nvalue ")}};
    entries.removeIf(
        [](const Entry& e) { return !writableName(e.section) || !writableKey(e.key); });
    return entries;
}

// After the entries were written one after the other: each reads back, the profile keeps every
// byte of its new text, and no other entry changed.
inline void checkWritten(const Profile& before, const QByteArray& after, const QStringList& names,
                         const QList<Entry>& written) {
    const Profile changed(after);
    fuzzCheck(changed.bytes() == after, "a written profile keeps every byte");
    QStringList sampled = names.mid(0, kSampled);
    sampled << QStringLiteral("1|1");
    for (const Entry& e : written) {
        fuzzCheck(changed.value(e.section, e.key) == readBack(e.value),
                  "a written value reads back");
        sampled << e.section;
    }
    for (const QString& s : sampled) {
        for (const QString& k : kKeys) {
            const bool isWritten = std::any_of(written.begin(), written.end(), [&](const Entry& e) {
                return sameName(s, e.section) && sameName(k, e.key);
            });
            if (!isWritten)
                fuzzCheck(changed.value(s, k) == before.value(s, k),
                          "other entries stay as they were");
        }
    }
}

}  // namespace profilechecks
