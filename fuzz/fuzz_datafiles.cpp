// Arbitrary bytes as a.bz and as ts.ini, through files: the slower road the program takes. The
// loaders reading the file take what they take from its bytes in memory (fuzz_records checks
// those); the editor's save writes what it would write in memory; 删除过期数据's walk over the
// file takes out one line per fired row; and for ts.ini the file functions read what the profile
// reads in memory, the slot table's finder, fill and release keep their rules, and each written
// entry reads back with every other entry as it was (fuzz_profile checks the same in memory).

#include <QFile>
#include <cstdint>
#include <optional>

#include "platform/clock.h"
#include "profilechecks.h"
#include "recordchecks.h"
#include "records/firedlines.h"
#include "records/recordsaver.h"
#include "reminders/slottable.h"

using namespace recordchecks;
using namespace profilechecks;

namespace {

constexpr int kPathReads = 2;  // ts.ini sections whose flag is also read through the file

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the file can be written");
    fuzzCheck(file.write(bytes) == bytes.size(), "the file written whole");
}

QByteArray fileBytes(const QString& path) {
    const FileContent content = readWholeFile(path);
    fuzzCheck(content.status == FileStatus::Ok, "the file can be read");
    return content.bytes;
}

void checkRecordLoads(const QString& path, const QByteArray& bytes, const QList<Line>& lines) {
    static const FixedClock clock(QDateTime(kToday, QTime(12, 0)));
    RecordGrid today = freshGrid(recordcolumns::kMainGridColumns);
    const LoadReport report = loadDueToday(today, path, clock);
    fuzzCheck(report.status == FileStatus::Ok, "a.bz reads");
    checkDueToday(today, report.taken, lines);
    RecordGrid inMemory = freshGrid(recordcolumns::kMainGridColumns);
    loadDueTodayFromBytes(inMemory, bytes, kToday);
    checkSameRows(today, inMemory);

    RecordGrid editor = freshGrid(recordcolumns::kEditorGridColumns);
    QList<CarriedLine> carried;
    const LoadReport all = loadAllRecords(editor, path, &carried);
    fuzzCheck(all.status == FileStatus::Ok, "a.bz reads");
    checkEditor(editor, all.taken, carried, lines);
    fuzzCheck(baocuns(editor, carried, path).ok, "the editor's grid can be saved");
    fuzzCheck(fileBytes(path) == recordFileBytes(editor, carried),
              "the save writes recordFileBytes");
}

// The first, the last and again the first line as fired rows: twins of the first line stay but
// for two, and every other line keeps its place.
void checkFiredLines(const QString& path, const QList<Line>& lines) {
    if (lines.isEmpty()) return;
    const QList<QByteArray> fired = {lines.first().bytes, lines.last().bytes, lines.first().bytes};
    QList<QByteArray> expected;
    for (const Line& line : lines) expected << line.bytes;
    int found = 0;
    for (const QByteArray& line : fired) {
        const qsizetype at = expected.indexOf(line);
        if (at < 0) continue;
        expected.removeAt(at);
        ++found;
    }
    const FiredLines firedLines(fired);
    fuzzCheck(firedLines.countIn(path, nullptr) == found, "the fired lines a.bz holds are counted");
    QByteArray rest;
    int removed = -1;
    fuzzCheck(firedLines.writeRest(
                  path, [&](QByteArrayView piece) { return rest.append(piece), true; }, &removed,
                  nullptr),
              "a.bz can be walked");
    fuzzCheck(removed == found, "as many lines go as were counted");
    fuzzCheck(rest == expected.join("\r\n"), "one line per fired row goes, the first equal ones");
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
void checkSlots(const QString& path, const QByteArray& bytes) {
    const SlotTable table(path);
    const std::optional<ReminderSlot> slot = findFreeSlot(table);
    if (!slot) return;

    const QString remark = tailText(bytes);
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

void checkProfileFile(const QString& path, const QByteArray& bytes) {
    writeFile(path, bytes);
    const QStringList names = ListProfileSections(path);
    fuzzCheck(names == profileSectionNames(bytes), "the file's sections are its bytes' sections");
    const Profile profile(bytes);
    checkReads(bytes, profile, names);
    for (int i = 0; i < names.size() && i < kPathReads; ++i)
        fuzzCheck(ReadProfileValue(names.at(i), ReminderSlot::shownKey(), path) ==
                      profile.value(names.at(i), ReminderSlot::shownKey()).value_or(QString()),
                  "ReadProfileValue reads what the profile holds");
    checkSlots(path, bytes);
    writeFile(path, bytes);
    const QList<Entry> entries = entriesToWrite(bytes, names);
    for (const Entry& e : entries) {
        fuzzCheck(writeProfileString(path, e.section, e.key, e.value), "the profile writer writes");
        fuzzCheck(ReadProfileValue(e.section, e.key, path) == readBack(e.value),
                  "a written value reads back through the file");
    }
    checkWritten(profile, fileBytes(path), names, entries);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString records = fuzzTempDir().filePath(QStringLiteral("a.bz"));
    const QList<Line> lines = splitFile(bytes);
    writeFile(records, bytes);
    checkFiredLines(records, lines);
    checkRecordLoads(records, bytes, lines);
    checkProfileFile(fuzzTempDir().filePath(QStringLiteral("ts.ini")), bytes);
    return 0;
}
