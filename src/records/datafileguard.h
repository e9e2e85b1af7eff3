#pragma once
// What every change to a.bz holds on to. A change is a read-modify-write: the program read the file
// (into a grid, or to find the lines to change) and writes a new one. Two things can happen in
// between, and neither may cost a record:
//
// - Another Mirosta writes at the same moment (two PCs sharing the data folder on a network drive).
//   DataFileLock is a lock file beside a.bz ("a.bz.lock", QLockFile) held around each
//   read-modify-write, so that programs sharing the folder take turns. A lock left behind by a
//   program that died is taken over: at once when it was on this PC, after kStaleLockMs otherwise.
// - Another program changed the file (an editor, a sync tool, the other PC). FileStamp is what the
//   program knows of the file it read: whether it existed, its size and its modification time, to
//   the finest grain the file system keeps. Under the lock, a change first compares the file's
//   stamp with the one it read; on a difference it reads the file afresh and applies the change to
//   that, or refuses with a message that says why. Every save replaces the file through a rename,
//   so every write of a Mirosta changes the stamp.
//
// QtCore only.

#include <QLockFile>
#include <QString>
#include <QtGlobal>

struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0;  // in the file system's own ticks, only ever compared

    // The stamp of the file as it is now; a missing or unreadable file has exists == false.
    static FileStamp of(const QString& path);

    bool operator==(const FileStamp&) const = default;
};

class DataFileLock {
  public:
    // How long a lock of another PC must have been left untouched before it counts as stale.
    static constexpr int kStaleLockMs = 60'000;
    // How long lock() waits by default for another program to finish its write.
    static constexpr int kWaitMs = 5'000;

    explicit DataFileLock(const QString& dataFilePath);
    ~DataFileLock();
    DataFileLock(const DataFileLock&) = delete;
    DataFileLock& operator=(const DataFileLock&) = delete;

    // Waits up to waitMs for the lock. False, with the reason in Chinese (who holds it, where
    // that is known), when it could not be taken.
    bool lock(QString* error, int waitMs = kWaitMs);
    void unlock();
    bool isLocked() const { return m_lock.isLocked(); }

    static QString lockPathFor(const QString& dataFilePath);

  private:
    QString m_dataFilePath;
    QLockFile m_lock;
};
