#pragma once
// What the benchmarks share: a QApplication on the offscreen platform, and realistic data files.

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>

#include "platform/gbkcodec.h"
#include "records/specimenrecord.h"

namespace bench {

// The longest the event loop went without running a 1 ms timer, from construction on: how long a
// window would have been frozen.
class StallWatch {
  public:
    StallWatch() {
        m_elapsed.start();
        m_ticks.setInterval(1);
        m_ticks.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_ticks, &QTimer::timeout, [this] {
            const qint64 now = m_elapsed.nsecsElapsed();
            m_stall = qMax(m_stall, now - m_lastTick);
            m_lastTick = now;
        });
        m_ticks.start();
    }
    double elapsedSeconds() const { return double(m_elapsed.nsecsElapsed()) / 1e9; }
    double longestStallMs() const { return double(m_stall) / 1e6; }
    // Runs the event loop for a while (until a grid has been painted, say).
    void runFor(qint64 nanoseconds) const {
        for (const qint64 end = m_elapsed.nsecsElapsed() + nanoseconds;
             m_elapsed.nsecsElapsed() < end;)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

  private:
    QElapsedTimer m_elapsed;
    QTimer m_ticks;
    qint64 m_lastTick = 0;
    qint64 m_stall = 0;
};

// The day every generated record falls due; the benchmarks' clocks stand on it.
inline const QDate kToday(2024, 4, 4);

// The widgets and the grid model need a QApplication; no window reaches a screen.
inline void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "mirosta_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The offscreen platform's notes about what it cannot do would drown the figures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtWarningMsg || !message.contains(QLatin1String("does not support")))
            fprintf(stderr, "%s\n", qPrintable(message));
    });
    // Never destroyed: at exit it would go after Qt's own statics, which it still uses.
    new QApplication(argc, argv);
}

// Record number i as the editor writes it, due today at minute i of the day.
inline QString recordLine(int i) {
    static const char* const kParts[] = {"3号楼三层柱", "地下室底板", "5#楼二层梁板", "主楼剪力墙",
                                         "基础承台"};
    static const char* const kMethods[] = {"标准养护", "同级养护"};
    static const char* const kRemarks[] = {"", "", "复检", "见证取样；抗渗"};
    const int minute = i % (24 * 60);
    const QString time = QStringLiteral("%1:%2")
                             .arg(minute / 60, 2, 10, QLatin1Char('0'))
                             .arg(minute % 60, 2, 10, QLatin1Char('0'));
    return joinRecordLine({QStringLiteral("%1%2").arg(QString::fromUtf8(kParts[i % 5])).arg(i),
                           QStringLiteral("C%1").arg(25 + 5 * (i % 8)),
                           QStringLiteral("PB-%1").arg(i % 1000, 3, 10, QLatin1Char('0')),
                           QStringLiteral("2024-3-7 ") + time, QStringLiteral("28"),
                           kToday.toString(QStringLiteral("yyyy-MM-dd ")) + time,
                           QString::fromUtf8(kMethods[i % 2]), QString::number(10 + i % 90),
                           QString::number(1 + i % 3), QString::fromUtf8(kRemarks[i % 4]),
                           QString()});
}

// The lines of an a.bz of `count` records ending with the editor's line of ten commas.
inline QStringList recordLines(int count) {
    QStringList lines;
    lines.reserve(count + 1);
    for (int i = 0; i < count; ++i) lines << recordLine(i);
    lines << QStringLiteral(",,,,,,,,,,");
    return lines;
}

inline QByteArray recordFile(int count) {
    return gbk::encode(recordLines(count).join(QStringLiteral("\r\n")));
}

// An a.bz of `count` records as the editor writes them, of which `dueToday` fall due today, spread
// evenly through the file; the others fell due on one of the 2,000 days before. Built from bytes,
// as a million records must be quick to make.
inline QByteArray longRecordFile(int count, int dueToday) {
    auto enc = [](const char* utf8) { return gbk::encode(QString::fromUtf8(utf8)); };
    const QByteArray parts[] = {enc("3号楼三层柱"), enc("地下室底板"), enc("5#楼二层梁板"),
                                enc("主楼剪力墙"), enc("基础承台")};
    const QByteArray methods[] = {enc("标准养护"), enc("同级养护")};
    const QByteArray remarks[] = {"", "", enc("复检"), enc("见证取样；抗渗")};
    const int step = dueToday > 0 ? qMax(count / dueToday, 1) : 0;
    QByteArray bytes;
    bytes.reserve(qsizetype(count) * 90);
    char time[8];
    for (int i = 0; i < count; ++i) {
        const int minute = i % (24 * 60);
        snprintf(time, sizeof time, "%02d:%02d", minute / 60, minute % 60);
        const bool today = step > 0 && i % step == 0 && i / step < dueToday;
        const QDate due = today ? kToday : kToday.addDays(-1 - (i * 7919) % 2000);
        bytes += parts[i % 5] + QByteArray::number(i) + ",C" +
                 QByteArray::number(25 + 5 * (i % 8)) + ",PB-" +
                 QByteArray::number(i % 1000).rightJustified(3, '0') + ",2024-3-7 " + time +
                 ",28," + due.toString(Qt::ISODate).toLatin1() + ' ' + time + ',' + methods[i % 2] +
                 ',' + QByteArray::number(10 + i % 90) + ',' + QByteArray::number(1 + i % 3) + ',' +
                 remarks[i % 4] + ",\r\n";
    }
    return bytes + ",,,,,,,,,,";
}

// A data folder whose a.bz is longRecordFile(count, dueToday); each is written once per run.
inline QString dataFolder(int count, int dueToday) {
    static std::map<std::pair<int, int>, std::unique_ptr<QTemporaryDir>> folders;
    auto& dir = folders[{count, dueToday}];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        QFile f(dir->filePath(QStringLiteral("a.bz")));
        if (!f.open(QIODevice::WriteOnly) || f.write(longRecordFile(count, dueToday)) < 0)
            std::abort();
    }
    return dir->path();
}

inline QString dataFile(int count, int dueToday) {
    return QDir(dataFolder(count, dueToday)).filePath(QStringLiteral("a.bz"));
}

}  // namespace bench
