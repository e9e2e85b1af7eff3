// Arbitrary bytes as a due-time text and as announced.txt: a due minute read from any text is
// canonical and reads as itself, and its date stands in the text as today's list looks for it;
// the scan's quick test of a due time agrees with reading it in full; and a state file of any
// content, once loaded and saved, reads back as it was saved, its last-scan minute included.

#include <QFile>
#include <cstdint>

#include "fuzzsupport.h"
#include "platform/gbkcodec.h"
#include "reminders/announcedstate.h"
#include "reminders/dueminute.h"

namespace {

void checkDueTime(const QString& text) {
    const QString minute = dueMinuteText(text);
    fuzzCheck(minute.isEmpty() || dueMinuteText(minute) == minute, "a due minute is canonical");
    fuzzCheck(minute.isEmpty() || text.contains(QStringView(minute).left(10)),
              "today's list takes every record the scan can announce");
    for (const char* now : {"2024-04-04 09:05", "0001-01-01 00:00", "9999-12-31 23:59"}) {
        const QString nowText = QString::fromLatin1(now);
        QString due;
        const bool by = dueBy(text, nowText, &due);
        fuzzCheck(by == (!minute.isEmpty() && minute <= nowText), "the quick test agrees");
        fuzzCheck(!by || due == minute, "the quick test gives the minute read in full");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkDueTime(gbk::decode(bytes.left(40)));
    checkDueTime(QString::fromLatin1(bytes.left(24)));

    const QString path = fuzzTempDir().filePath(QStringLiteral("announced.txt"));
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the file can be written");
    fuzzCheck(file.write(bytes) == bytes.size(), "the file written whole");
    file.close();
    AnnouncedState first(path);
    first.load();
    fuzzCheck(first.save(), "the state can be saved");
    AnnouncedState second(path);
    second.load();
    fuzzCheck(second.size() == first.size() && second.counts() == first.counts() &&
                  second.lastScan() == first.lastScan(),
              "the state reads back as it was saved");
    return 0;
}
