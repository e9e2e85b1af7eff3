#pragma once
// One change of a.bz (删除过期数据, 数据初始化, 更新到期时间, 恢复备份, and the editor's changes):
// the data file's lock is held from begin() until the object goes, a backup copy of the file as it
// is then is made, and the new content replaces the file atomically. The replacement is refused
// when the file's stamp moved since begin(): some program that does not take the lock wrote it
// meanwhile, and its lines would be lost. QtCore only.
//
// Nothing that waits for the user happens while a change lives: a question or a message left open
// would keep every other writer out. A command that asks first reads the file (or copies it) under
// one change, lets it go for the question, and under a second change compares the file's stamp
// with the one of the first: when they differ, the file is no longer what the user was asked about.

#include <QDateTime>
#include <QString>
#include <optional>

#include "platform/textfile.h"
#include "records/backups.h"
#include "records/datafileguard.h"

class QSaveFile;

class DataFileChange {
  public:
    explicit DataFileChange(const QString& dataFilePath);
    ~DataFileChange();
    DataFileChange(const DataFileChange&) = delete;
    DataFileChange& operator=(const DataFileChange&) = delete;

    // Takes the lock (waiting up to waitMs for another program's write) and notes the file's
    // stamp. False, with the reason in Chinese, when the lock could not be taken.
    bool begin(QString* error, int waitMs = DataFileLock::kWaitMs);
    // The file's stamp when begin() took the lock.
    const FileStamp& stamp() const { return m_stamp; }

    // Copies a.bz as it is now into the backup folder (see Backups). With a replacement to come,
    // the copy may be a hard link (Backups::Method::LinkBeforeReplace); replace() failing then
    // removes it again, since the file it holds stays a.bz. The copy's path, or nothing with the
    // reason in Chinese ("无法备份数据文件：…").
    std::optional<QString> backUp(const QDateTime& now, QString* error,
                                  Backups::Method method = Backups::Method::LinkBeforeReplace);
    const QString& backupPath() const { return m_backup; }

    // Replaces a.bz with what `produce` writes, unless a.bz changed since begin() (then
    // *changed is set, *error says so and a.bz stays as it is). Needs begin() to have succeeded.
    bool replace(const ByteProducer& produce, QString* error, bool* changed = nullptr);
    bool replace(const QByteArray& bytes, QString* error, bool* changed = nullptr);
    // The same through a save file the caller made (tests pass one that fails part-way).
    bool replace(QSaveFile& file, const ByteProducer& produce, QString* error,
                 bool* changed = nullptr);

    // What the user is told when the file changed underneath a change.
    static QString changedMessage(const QString& dataFilePath);

  private:
    QString m_dataFilePath;
    DataFileLock m_lock;
    FileStamp m_stamp;
    QString m_backup;
    bool m_backupLinked = false;
};

// 恢复备份: under one change, a.bz is backed up as it is and then replaced by the copy's bytes
// (read first, since the new backup's pruning may remove the copy). False, with the reason in
// Chinese, when anything failed; a.bz is then as it was. *madeBackup: the backup of a.bz made
// first.
bool restoreBackup(const QString& dataFilePath, const QString& copyPath, const QDateTime& now,
                   QString* madeBackup, QString* error);
