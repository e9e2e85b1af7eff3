#include "records/recordfilechange.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

#include "platform/gbkcodec.h"
#include "platform/textfile.h"
#include "records/backups.h"
#include "records/datafilechange.h"

namespace {

// %1: the record's line as the editor showed it.
const QString kLineGone = QStringLiteral(
    "数据文件已被其他程序修改，其中已没有这条记录：\n%"
    "1\n本次修改未保存，右侧已显示数据文件的最新内容。");
// %1: why the backup failed ("无法备份数据文件：…").
const QString kBackupFailed = QStringLiteral("%1\n本次修改未保存，数据文件保持原样。");

}  // namespace

RecordFileChangeResult changeRecordFile(const QString& dataFilePath,
                                        const RecordFileChange& change) {
    QSaveFile file(dataFilePath);
    return changeRecordFile(file, change);
}

RecordFileChangeResult changeRecordFile(QSaveFile& file, const RecordFileChange& change) {
    RecordFileChangeResult result;
    const QString path = file.fileName();
    DataFileChange guarded(path);
    if (!guarded.begin(&result.error)) return result;
    result.fileWasChanged = guarded.stamp() != change.readStamp;
    // A long file is mapped rather than copied; the new file replaces it by a rename, so the
    // mapped bytes stay as they are while they are written out.
    QFile mapped(path);
    uchar* map = nullptr;
    QByteArray bytes;
    if (mapped.size() > 0 && mapped.open(QIODevice::ReadOnly) &&
        (map = mapped.map(0, mapped.size())))
        bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(map), mapped.size());
    if (bytes.isNull()) {
        FileContent content = readWholeFile(path);
        if (content.status == FileStatus::Unreadable) {
            result.error = content.error;
            return result;
        }
        bytes = std::move(content.bytes);
    }
    const LineChangeResult applied =
        applyLineChanges(bytes, change.changes, change.linesExact && !result.fileWasChanged);
    if (!applied.ok) {
        result.fileWasChanged = true;  // the caller's copy is not the file's
        result.error = kLineGone.arg(gbk::decode(applied.missingLine));
        return result;
    }

    const bool backUp = change.backup == RecordFileChange::Backup::FirstOfTheDay &&
                        !Backups(path).hasCopyOn(change.now.date());
    QString backupError;
    if (backUp && !guarded.backUp(change.now, &backupError)) {
        result.error = kBackupFailed.arg(backupError);
        return result;
    }
    const auto writePieces = [&](const ByteWriter& write) {
        const bool written = std::all_of(applied.pieces.begin(), applied.pieces.end(), write);
        // Every piece is written out or copied by now. Windows replaces no file that is still
        // mapped or open, so the old file is let go of before the new one takes its place.
        if (map) mapped.unmap(map);
        mapped.close();
        return written;
    };
    // A program that takes no lock may have written a.bz meanwhile: then nothing is written.
    bool movedMeanwhile = false;
    if (!guarded.replace(file, writePieces, &result.error, &movedMeanwhile)) {
        result.fileWasChanged = result.fileWasChanged || movedMeanwhile;
        return result;
    }
    result.ok = true;
    result.stamp = FileStamp::of(path);
    result.inverse = applied.inverse;
    return result;
}
