#include "planning/duetimeupdate.h"

#include <QSaveFile>
#include <algorithm>

#include "platform/textfile.h"
#include "records/datafilechange.h"

namespace {

constexpr int kAgeField = 4;
constexpr int kDueTimeField = 5;

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
        const auto age = rawline::field(line, kAgeField);
        const auto due = rawline::field(line, kDueTimeField);
        if (!age || !due) continue;
        // The two fields stand side by side: one piece from the start of the one to the end of
        // the other.
        const qsizetype from = age->data() - bytes.constData();
        out.append(bytes.constData() + copied, from - copied);
        out += c.age + ',' + c.dueTime;
        copied = due->data() + due->size() - bytes.constData();
    }
    out.append(bytes.constData() + copied, bytes.size() - copied);
    return out;
}

DueTimeWrite writeDueTimeChanges(const QString& dataFilePath, const QByteArray& expected,
                                 const QList<DueTimeChange>& changes, const QDateTime& now) {
    QSaveFile file(dataFilePath);
    return writeDueTimeChanges(file, expected, changes, now);
}

DueTimeWrite writeDueTimeChanges(QSaveFile& file, const QByteArray& expected,
                                 const QList<DueTimeChange>& changes, const QDateTime& now) {
    DueTimeWrite result;
    DataFileChange change(file.fileName());
    if (!change.begin(&result.error)) return result;
    const FileContent read = readWholeFile(file.fileName());
    if (read.status == FileStatus::Unreadable) {
        result.error = read.error;
        return result;
    }
    if (read.bytes != expected) {
        result.fileChanged = true;
        return result;
    }
    if (!change.backUp(now, &result.error)) return result;
    const QByteArray updated = applyDueTimeChanges(expected, changes);
    result.ok = change.replace(
        file, [&updated](const ByteWriter& write) { return write(updated); }, &result.error,
        &result.fileChanged);
    if (result.fileChanged) result.error.clear();
    return result;
}
