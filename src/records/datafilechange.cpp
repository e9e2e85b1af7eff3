#include "records/datafilechange.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

DataFileChange::DataFileChange(const QString& dataFilePath)
    : m_dataFilePath(dataFilePath), m_lock(dataFilePath) {}

DataFileChange::~DataFileChange() = default;

bool DataFileChange::begin(QString* error, int waitMs) {
    if (!m_lock.lock(error, waitMs)) return false;
    m_stamp = FileStamp::of(m_dataFilePath);
    return true;
}

std::optional<QString> DataFileChange::backUp(const QDateTime& now, QString* error,
                                              Backups::Method method) {
    QString reason;
    const std::optional<QString> path = Backups(m_dataFilePath).make(now, &reason, method);
    if (!path && error) *error = QStringLiteral("无法备份数据文件：%1").arg(reason);
    if (path) {
        m_backup = *path;
        m_backupLinked = method == Backups::Method::LinkBeforeReplace;
    }
    return path;
}

QString DataFileChange::changedMessage(const QString& dataFilePath) {
    return QStringLiteral("数据文件“%1”在此期间被另一个程序改动过，为免丢失那些改动，本次不写入。")
        .arg(QDir::toNativeSeparators(dataFilePath));
}

bool DataFileChange::replace(const ByteProducer& produce, QString* error, bool* changed) {
    QSaveFile file(m_dataFilePath);
    return replace(file, produce, error, changed);
}

bool DataFileChange::replace(const QByteArray& bytes, QString* error, bool* changed) {
    return replace([&bytes](const ByteWriter& write) { return write(bytes); }, error, changed);
}

bool DataFileChange::replace(QSaveFile& file, const ByteProducer& produce, QString* error,
                             bool* changed) {
    Q_ASSERT(m_lock.isLocked());
    bool moved = false;
    // Checked last, once the new content is written: a program that does not take the lock may
    // have written the file while this one read it.
    const ByteProducer checked = [&](const ByteWriter& write) {
        if (!produce(write)) return false;
        moved = FileStamp::of(m_dataFilePath) != m_stamp;
        return !moved;
    };
    QString reason;
    const bool ok = writeFileAtomically(file, checked, &reason);
    if (changed) *changed = moved;
    if (moved) reason = changedMessage(m_dataFilePath);
    if (error) *error = reason;
    if (!ok && m_backupLinked && QFile::remove(m_backup)) m_backup.clear();
    return ok;
}

bool restoreBackup(const QString& dataFilePath, const QString& copyPath, const QDateTime& now,
                   QString* madeBackup, QString* error) {
    DataFileChange change(dataFilePath);
    if (!change.begin(error)) return false;
    const FileContent copy = readWholeFile(copyPath);
    if (copy.status != FileStatus::Ok) {
        if (error)
            *error =
                copy.status == FileStatus::Missing
                    ? QStringLiteral("备份“%1”已不存在。").arg(QDir::toNativeSeparators(copyPath))
                    : copy.error;
        return false;
    }
    if (!change.backUp(now, error)) return false;
    if (!change.replace(copy.bytes, error)) return false;
    if (madeBackup) *madeBackup = change.backupPath();
    return true;
}
