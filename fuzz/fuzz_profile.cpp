// Arbitrary bytes as ts.ini: the section list, value reads, the first-free-slot finder with a
// fill and a release of the slot it finds, and the profile writer, whose every write must read
// back while leaving every other entry as it was.

#include <QFile>
#include <cstdint>
#include <optional>

#include "fuzzsupport.h"
#include "platform/gbkcodec.h"
#include "platform/profile.h"
#include "reminders/reminderslot.h"
#include "reminders/slottable.h"

namespace {

const QStringList kKeys = {QStringLiteral("是否显示"), QStringLiteral("编号"),
                           QStringLiteral("备注"), QStringLiteral("Key"), QString()};
constexpr int kPathReads = 2;  // sections read through the file, the rest in memory
constexpr int kSampled = 12;   // sections whose entries are compared before and after a write

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "ts.ini can be written");
    fuzzCheck(file.write(bytes) == bytes.size(), "ts.ini written whole");
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    fuzzCheck(file.open(QIODevice::ReadOnly), "ts.ini can be read");
    return file.readAll();
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == QChar(0x1A);
}

bool hasOuterBlanks(const QString& text) {
    return !text.isEmpty() && (isBlank(text.front()) || isBlank(text.back()));
}

// Names the writer can put into a header or an entry line that reads back as the same name.
bool writableName(const QString& name) {
    return !name.contains(u'\r') && !name.contains(u'\n') && !hasOuterBlanks(name) &&
           gbk::canEncode(name);
}

bool writableKey(const QString& key) {
    return writableName(key) && !key.contains(u'=') && !key.startsWith(u';') &&
           !key.startsWith(u'[');
}

// What reading gives back after writing the value: one line, in GBK, without outer blanks.
QString readBack(QString value) {
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    value = gbk::decode(gbk::encode(value));
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && isBlank(value.at(first))) ++first;
    while (last > first && isBlank(value.at(last - 1))) --last;
    return value.mid(first, last - first);
}

void checkReads(const QString& path, const QByteArray& bytes, const QStringList& names) {
    const Profile profile(bytes);
    fuzzCheck(profile.bytes() == bytes, "a profile keeps every byte it was read from");
    for (const QString& name : names)
        fuzzCheck(!name.contains(u'[') && !name.contains(u']'), "section names hold no brackets");
    for (int i = 0; i < names.size() && i < kSampled; ++i) {
        for (const QString& key : kKeys) {
            const QString value = profile.value(names.at(i), key).value_or(QString());
            fuzzCheck(!value.contains(QChar(0)), "values hold no NUL");
            fuzzCheck(!value.contains(u'\r') && !value.contains(u'\n'), "a value is one line");
            if (i < kPathReads && key == ReminderSlot::shownKey())
                fuzzCheck(ReadProfileValue(names.at(i), key, path) == value,
                          "ReadProfileValue reads what the profile holds");
        }
    }
}

// Runs the finder and checks its answer: a free slot, and no section before it in the list is a
// slot marked "0".
std::optional<ReminderSlot> findFreeSlot(const SlotTable& table) {
    const std::optional<ReminderSlot> slot = table.findFreeSlot();
    const QByteArray bytes = fileBytes(table.path());
    const Profile profile(bytes);
    for (const QString& name : profileSectionNames(bytes)) {
        if (slot && name == slot->name) break;
        fuzzCheck(!ReminderSlot::fromName(name) ||
                      profile.value(name, ReminderSlot::shownKey()) != QStringLiteral("0"),
                  "no slot marked free comes before the one found");
    }
    if (slot) {
        fuzzCheck(ReminderSlot::fromName(slot->name).has_value(), "the free slot names a slot");
        fuzzCheck(slot->group >= 1 && slot->position >= 1, "groups and positions start at 1");
        fuzzCheck(profile.value(slot->name, ReminderSlot::shownKey()).has_value(),
                  "the free slot has a flag");
    }
    return slot;
}

// Whether every line of the file ends in CR LF (the last one may have no end).
bool onlyCrLf(const QByteArray& bytes) {
    const qsizetype crLf = bytes.count("\r\n");
    return bytes.count('\r') == crLf && bytes.count('\n') == crLf;
}

// Filling the free slot makes it busy, so the finder passes it by; releasing it frees it again.
// The section list splits the file at CR LF only, so where a hand-edited file has lone line ends
// the writer's CR LF lines can bring a hidden header to light: only a file with CR LF throughout
// must give the same slot again.
void checkSlots(const QString& path, const QByteArray& bytes, const QString& remark) {
    const SlotTable table(path);
    const std::optional<ReminderSlot> slot = findFreeSlot(table);
    if (!slot) return;

    const QStringList values = {QStringLiteral("3"),
                                QStringLiteral("1#楼3层柱"),
                                QStringLiteral("C30"),
                                QStringLiteral("PB-017"),
                                QStringLiteral("2024-3-7 09:05"),
                                QStringLiteral("28"),
                                QStringLiteral("标准养护"),
                                QStringLiteral("2024-04-04 09:05"),
                                QStringLiteral("36"),
                                QStringLiteral("2"),
                                remark};
    fuzzCheck(table.fill(*slot, values).has_value(), "a free slot can be filled");
    const Profile filled(fileBytes(path));
    fuzzCheck(filled.value(slot->name, ReminderSlot::shownKey()) == QStringLiteral("1"),
              "a filled slot is busy");
    const std::optional<ReminderSlot> next = findFreeSlot(table);
    fuzzCheck(!next || next->name != slot->name, "a busy slot is not free");
    const auto& keys = ReminderSlot::recordKeys();
    for (int i = 0; i < keys.size(); ++i)
        fuzzCheck(
            filled.value(slot->name, QString::fromUtf16(keys.at(i).key)) == readBack(values.at(i)),
            "the slot holds the record's fields");

    fuzzCheck(table.release({slot->name}), "a slot can be released");
    const std::optional<ReminderSlot> again = findFreeSlot(table);
    fuzzCheck(again.has_value(), "a released slot is free");
    if (onlyCrLf(bytes))
        fuzzCheck(again->name == slot->name, "a released slot is the first free one again");
    fuzzCheck(ReadProfileValue(slot->name, QStringLiteral("备注"), path) == readBack(remark),
              "releasing a slot keeps its record");
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Writes one entry through the file and checks it reads back and that nothing else changed.
void checkWrite(const QString& path, const QStringList& names, const QString& section,
                const QString& key, const QString& value) {
    if (!writableName(section) || !writableKey(key)) return;
    const Profile before(fileBytes(path));
    fuzzCheck(writeProfileString(path, section, key, value), "the profile writer writes");
    const QByteArray after = fileBytes(path);
    fuzzCheck(ReadProfileValue(section, key, path) == readBack(value),
              "a written value reads back");

    const Profile changed(after);
    fuzzCheck(changed.bytes() == after, "a written profile keeps every byte");
    QStringList sampled = names.mid(0, kSampled);
    sampled << section << QStringLiteral("1|1");
    for (const QString& s : sampled) {
        for (const QString& k : kKeys) {
            if (sameName(s, section) && sameName(k, key)) continue;
            fuzzCheck(changed.value(s, k) == before.value(s, k), "other entries stay as they were");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = fuzzTempDir().filePath(QStringLiteral("ts.ini"));
    // Text for the remark and for a written value: the file's last bytes. A NUL cannot pass
    // through the platform's profile writer, which takes C strings.
    const QString tail = gbk::decode(bytes.right(24)).remove(QChar(0));

    writeFile(path, bytes);
    const QStringList names = ListProfileSections(path);
    fuzzCheck(names == profileSectionNames(bytes), "the file's sections are its bytes' sections");
    checkReads(path, bytes, names);
    checkSlots(path, bytes, tail);

    writeFile(path, bytes);
    checkWrite(path, names, names.value(0, QStringLiteral("1|1")), ReminderSlot::shownKey(),
               QStringLiteral("1"));
    checkWrite(path, names, QStringLiteral("Fuzz"), QStringLiteral("备注"), tail);
    checkWrite(path, names, names.isEmpty() ? QStringLiteral("2|1") : names.last(),
               QStringLiteral("Key"), QStringLiteral(" \tpadded\r\nvalue "));
    return 0;
}
