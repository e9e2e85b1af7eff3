// What guards each change of a.bz: the stamp that tells a file changed by someone else, the lock
// that makes programs sharing the folder take turns, the backup copies with their pruning, and a
// whole change made with all three, 恢复备份 among them.

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/textfile.h"
#include "records/backups.h"
#include "records/datafilechange.h"
#include "records/datafileguard.h"

namespace {

QList<BackupCopy> copiesOn(const QList<QDate>& days) {
    QList<BackupCopy> copies;
    for (const QDate& day : days) copies.append({QString(), QDateTime(day, QTime(12, 0)), 0});
    return copies;
}

}  // namespace

class DataFileGuardTest : public QObject {
    Q_OBJECT

  private slots:
    void stampSeesEveryRewrite_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("same length, one byte changed") << QByteArray("28") << QByteArray("07");
        QTest::newRow("same bytes written again") << QByteArray("a,b") << QByteArray("a,b");
    }
    void stampSeesEveryRewrite() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.bz");
        QCOMPARE(FileStamp::of(path).exists, false);
        QVERIFY(writeFileAtomically(path, before, nullptr));
        const FileStamp read = FileStamp::of(path);
        QVERIFY(read.exists);
        QCOMPARE(read, FileStamp::of(path));
        QVERIFY(writeFileAtomically(path, after, nullptr));
        QVERIFY(FileStamp::of(path) != read);
    }

    void lockTakesTurnsAndTakesOverDeadLocks() {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.bz");
        DataFileLock first(path);
        QString error;
        QVERIFY(first.lock(&error, 0));
        DataFileLock second(path);
        QVERIFY(!second.lock(&error, 50));
        QVERIFY2(error.contains("正在被另一个程序写入"), qPrintable(error));
        first.unlock();
        QVERIFY(second.lock(&error, 0));
        second.unlock();

        // A lock file left by a process of this PC that no longer runs: one as this process
        // writes it (the PC's name is spelt differently on each system), with a pid no process has.
        QLockFile own(dir.filePath("own.lock"));
        QVERIFY(own.tryLock(0));
        const QByteArray info = readWholeFile(own.fileName()).bytes;
        own.unlock();
        QFile stale(DataFileLock::lockPathFor(path));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("999999999" + info.mid(info.indexOf('\n')));
        stale.close();
        DataFileLock third(path);
        QVERIFY2(third.lock(&error, 500), qPrintable(error));
    }

    void lockRefusedInAFolderThatCannotHoldIt() {
        DataFileLock lock(QStringLiteral("/nonexistent-folder-of-mirosta/a.bz"));
        QString error;
        QVERIFY(!lock.lock(&error, 0));
        QVERIFY2(error.contains("a.bz.lock"), qPrintable(error));
    }

    void copiesKeepTheirBytesAndOrder() {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.bz");
        const Backups backups(path);
        const QDateTime now(QDate(2026, 12, 7), QTime(14, 23, 5));
        QString error;
        // No a.bz yet: an empty copy, so the state before a change can always come back.
        const auto empty = backups.make(now, &error);
        QVERIFY2(empty, qPrintable(error));
        QVERIFY(empty->endsWith("backup/a.bz.20261207-142305"));
        QVERIFY(writeFileAtomically(path, QByteArray("\xb9\xa4,C30\r\n,,,,", 11), nullptr));
        const auto second = backups.make(now, &error);  // the same second
        QVERIFY(second && second->endsWith("a.bz.20261207-142305-2"));
        QFile other(backups.folder() + "/notes.txt");  // not a copy: never listed nor pruned
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();

        const QList<BackupCopy> copies = backups.list();
        QCOMPARE(copies.size(), 2);
        QCOMPARE(copies.at(0).path, *second);
        QCOMPARE(readWholeFile(copies.at(0).path).bytes, readWholeFile(path).bytes);
        QCOMPARE(copies.at(1).size, 0);
        QVERIFY(backups.hasCopyOn(now.date()));
        QVERIFY(!backups.hasCopyOn(now.date().addDays(-1)));
    }

    void pruningKeepsNewestAndOnePerRecentDay_data() {
        QTest::addColumn<QList<QDate>>("newestFirst");
        QTest::addColumn<int>("pruned");
        QTest::addColumn<QDate>("firstPruned");
        const QDate today(2026, 12, 7);
        QList<QDate> busyToday(40, today);
        QTest::newRow("40 copies today: the newest 30 stay") << busyToday << 10 << today;
        QList<QDate> busyWeek(35, today);
        for (int d = 1; d <= 8; ++d) busyWeek.append(today.addDays(-d));
        // The six days before today keep one copy each; the 7th and 8th day back are past the week.
        QTest::newRow("35 today, then one a day: each of the last 7 days keeps one")
            << busyWeek << 5 + 2 << today;
        QList<QDate> daily;
        for (int d = 0; d < 31; ++d) daily.append(today.addDays(-d));
        QTest::newRow("31 days, one copy each: the oldest goes")
            << daily << 1 << today.addDays(-30);
    }
    void pruningKeepsNewestAndOnePerRecentDay() {
        QFETCH(QList<QDate>, newestFirst);
        QFETCH(int, pruned);
        QFETCH(QDate, firstPruned);
        const QList<BackupCopy> gone = Backups::toPrune(copiesOn(newestFirst), QDate(2026, 12, 7));
        QCOMPARE(gone.size(), pruned);
        if (pruned > 0) QCOMPARE(gone.first().made.date(), firstPruned);
    }

    // A change backs a.bz up (a link costs nothing, yet keeps the old bytes once a.bz is replaced
    // by a rename) and is refused when a program that takes no lock wrote a.bz meanwhile; its
    // backup link then goes, since a.bz itself still holds those bytes.
    void changeBacksUpAndRefusesAFileChangedUnderneath_data() {
        QTest::addColumn<bool>("writtenMeanwhile");
        QTest::newRow("replaced") << false;
        QTest::newRow("written by another program meanwhile") << true;
    }
    void changeBacksUpAndRefusesAFileChangedUnderneath() {
        QFETCH(bool, writtenMeanwhile);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.bz");
        QVERIFY(writeFileAtomically(path, "a,b\r\n,,,,", nullptr));
        DataFileChange change(path);
        QString error;
        QVERIFY(change.begin(&error));
        const auto copy = change.backUp(QDateTime(QDate(2026, 12, 7), QTime(9, 0)), &error);
        QVERIFY2(copy, qPrintable(error));
        if (writtenMeanwhile) {
            QFile other(path);  // in place, as a text editor may
            QVERIFY(other.open(QIODevice::Append));
            other.write("\r\nnew");
        }
        bool changed = false;
        QCOMPARE(change.replace(QByteArray("b"), &error, &changed), !writtenMeanwhile);
        QCOMPARE(changed, writtenMeanwhile);
        QCOMPARE(readWholeFile(path).bytes, writtenMeanwhile ? "a,b\r\n,,,,\r\nnew" : "b");
        QCOMPARE(Backups(path).list().size(), writtenMeanwhile ? 0 : 1);
        if (!writtenMeanwhile) QCOMPARE(readWholeFile(*copy).bytes, "a,b\r\n,,,,");
        QCOMPARE(Backups::recordCount(path).value_or(-1), writtenMeanwhile ? 2 : 1);
    }

    // Restoring the oldest of a full backup folder: the copy is read before the backup of a.bz
    // made first prunes it away.
    void restoreTheOldestCopy() {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.bz");
        const Backups backups(path);
        const QDateTime start(QDate(2026, 11, 1), QTime(8, 0));
        QString error;
        for (int i = 0; i < Backups::kKeepNewest; ++i) {
            QVERIFY(writeFileAtomically(path, QByteArray::number(i), nullptr));
            QVERIFY(backups.make(start.addSecs(i), &error));
        }
        const QString oldest = backups.list().last().path;
        QString made;
        QVERIFY2(restoreBackup(path, oldest, start.addDays(30), &made, &error), qPrintable(error));
        QCOMPARE(readWholeFile(path).bytes, "0");
        QCOMPARE(readWholeFile(made).bytes, QByteArray::number(Backups::kKeepNewest - 1));
        QVERIFY(!QFile::exists(oldest));
        QVERIFY(!restoreBackup(path, oldest, start.addDays(30), &made, &error));
        QVERIFY2(error.contains("已不存在"), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(DataFileGuardTest)
#include "tst_datafileguard.moc"
