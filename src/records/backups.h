#pragma once
// Copies of a.bz kept in the folder "backup" beside it, made before every change that removes or
// rewrites records, so that a slip of the hand can be taken back. QtCore only.
//
// A copy is named after the moment it was made, "a.bz.20261207-142305" (a second copy in the same
// second gets "-2", "-3" … appended), and holds the bytes of a.bz unchanged. After each new copy
// the folder is pruned: the newest kKeepNewest copies stay, and so does the newest copy of each of
// the last kKeepDays days; older ones are removed. Files in the folder that are not named so are
// never touched.
//
// Nothing here takes the data file's lock: a caller that is about to change a.bz holds it already
// (see DataFileLock and DataFileChange).

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

struct BackupCopy {
    QString path;
    QDateTime made;  // from the name, local time
    qint64 size = 0;
};

class Backups {
  public:
    static constexpr int kKeepNewest = 30;
    static constexpr int kKeepDays = 7;

    enum class Method {
        Copy,  // the copy holds the bytes of a.bz, whatever becomes of a.bz
        // A hard link to a.bz where the file system has them, which costs no time whatever the
        // file's length, else a copy. Only for a caller that holds the lock and next replaces a.bz
        // by renaming a new file over it, as every save of this program does, and never writes
        // into the file itself; a link left by a replacement that failed must be removed.
        LinkBeforeReplace,
    };

    explicit Backups(QString dataFilePath);

    QString folder() const;

    // Every copy, newest first.
    QList<BackupCopy> list() const;
    // Whether a copy was made on the day.
    bool hasCopyOn(const QDate& day) const;

    // Copies a.bz as it is now into the folder, then prunes it. The new copy's path, or nothing
    // with the reason in Chinese. A missing a.bz is copied as an empty file, so that the state
    // before the change can always be brought back.
    std::optional<QString> make(const QDateTime& now, QString* error,
                                Method method = Method::Copy) const;

    // How many records a copy (or a.bz) holds: its lines with anything but commas. Nothing, with
    // the reason in Chinese, when the file cannot be read.
    static std::optional<int> recordCount(const QString& path, QString* error = nullptr);

    // Which of the copies (newest first) pruning removes, as of `today`.
    static QList<BackupCopy> toPrune(const QList<BackupCopy>& newestFirst, const QDate& today);

  private:
    QString m_dataFilePath;
};
