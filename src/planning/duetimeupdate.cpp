#include "planning/duetimeupdate.h"

#include <QSaveFile>
#include <algorithm>

#include "platform/textfile.h"

namespace {

constexpr int kAgeField = 4;

// Offset of the start of the field with the index in the line, or -1.
qsizetype fieldStart(QByteArrayView line, int index) {
    qsizetype at = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype comma = line.indexOf(',', at);
        if (comma < 0) return -1;
        at = comma + 1;
    }
    return at;
}

}  // namespace

QByteArray applyDueTimeChanges(const QByteArray& bytes, QList<DueTimeChange> changes) {
    std::sort(changes.begin(), changes.end(), [](const DueTimeChange& a, const DueTimeChange& b) {
        return a.line.start < b.line.start;
    });
    QByteArray out;
    out.reserve(bytes.size() + changes.size() * 8);
    qsizetype copied = 0;
    for (const DueTimeChange& c : changes) {
        const QByteArrayView line = QByteArrayView(bytes).sliced(c.line.start, c.line.length);
        const qsizetype ageStart = fieldStart(line, kAgeField);
        const qsizetype dueStart = ageStart < 0 ? -1 : fieldStart(line.sliced(ageStart), 1);
        if (dueStart < 0) continue;
        qsizetype dueEnd = line.indexOf(',', ageStart + dueStart);
        if (dueEnd < 0) dueEnd = line.size();
        out.append(bytes.constData() + copied, c.line.start + ageStart - copied);
        out += c.age + ',' + c.dueTime;
        copied = c.line.start + dueEnd;
    }
    out.append(bytes.constData() + copied, bytes.size() - copied);
    return out;
}

DueTimeWrite writeDueTimeChanges(const QString& dataFilePath, const QByteArray& expected,
                                 const QList<DueTimeChange>& changes) {
    QSaveFile file(dataFilePath);
    return writeDueTimeChanges(file, expected, changes);
}

DueTimeWrite writeDueTimeChanges(QSaveFile& file, const QByteArray& expected,
                                 const QList<DueTimeChange>& changes) {
    DueTimeWrite result;
    const FileContent now = readWholeFile(file.fileName());
    if (now.status == FileStatus::Unreadable) {
        result.error = now.error;
        return result;
    }
    if (now.bytes != expected) {
        result.fileChanged = true;
        return result;
    }
    result.ok = writeFileAtomically(file, applyDueTimeChanges(expected, changes), &result.error);
    return result;
}
