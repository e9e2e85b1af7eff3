#include "records/datafileguard.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

DataFileLock::DataFileLock(const QString& dataFilePath)
    : m_dataFilePath(dataFilePath), m_lock(lockPathFor(dataFilePath)) {
    m_lock.setStaleLockTime(kStaleLockMs);
}

DataFileLock::~DataFileLock() {
    unlock();
}

QString DataFileLock::lockPathFor(const QString& dataFilePath) {
    return dataFilePath + QStringLiteral(".lock");
}

bool DataFileLock::lock(QString* error, int waitMs) {
    if (m_lock.isLocked()) return true;
    // QLockFile's own wait sleeps ever longer between its tries (up to seconds), so a program that
    // writes again and again can keep another one out for its whole wait. Short tries, a little
    // apart at random, take turns.
    QElapsedTimer waited;
    waited.start();
    while (!m_lock.tryLock(0)) {
        if (m_lock.error() != QLockFile::LockFailedError || waited.elapsed() >= waitMs) break;
        QThread::msleep(5 + QRandomGenerator::global()->bounded(20));
    }
    if (m_lock.isLocked()) return true;
    if (!error) return false;
    const QString shown = QDir::toNativeSeparators(m_dataFilePath);
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock.error() == QLockFile::LockFailedError &&
        m_lock.getLockInfo(&pid, &host, &application)) {
        *error =
            QStringLiteral("数据文件“%1”正在被另一个程序写入（计算机 %2，进程 %3），请稍后再试。")
                .arg(shown, host.isEmpty() ? QStringLiteral("未知") : host)
                .arg(pid);
    } else if (m_lock.error() == QLockFile::LockFailedError) {
        *error = QStringLiteral("数据文件“%1”正在被另一个程序写入，请稍后再试。").arg(shown);
    } else {
        *error = QStringLiteral("无法在数据文件夹中建立锁文件“%1”（没有写入权限或磁盘已满）。")
                     .arg(QDir::toNativeSeparators(lockPathFor(m_dataFilePath)));
    }
    return false;
}

void DataFileLock::unlock() {
    if (m_lock.isLocked()) m_lock.unlock();
}
