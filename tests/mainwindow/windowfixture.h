#pragma once
// A main window over a temporary data folder, a fixed clock and recorded messages; for tests.

#include <QAction>
#include <QtTest>

#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"

// A line of a.bz for a record due at the given time, today 09:05 by default.
inline QString recordLine(const QString& part, const QString& due = "2024-04-04 09:05") {
    return QStringLiteral("%1,C30,PB-017,2024-3-7 09:05,28,%2,标准养护,36,2,,").arg(part, due);
}

struct WindowFixture {
    QTemporaryDir dir;
    FixedClock clock{QDateTime(QDate(2024, 4, 4), QTime(9, 5, 30))};
    RecordingMessageService messages;
    std::unique_ptr<MainWindow> window;

    // Writes the lines to a.bz (none: no a.bz) and builds the window; start() starts it up.
    explicit WindowFixture(const QStringList& lines = {}) {
        if (!lines.isEmpty()) write(lines);
        window = std::make_unique<MainWindow>(AppPaths(dir.path()), clock, messages);
    }
    // Starts the window up and waits for today's list, which is read on a thread of its own.
    void start() {
        window->startUp();
        window->waitForTodayList();
    }

    void write(const QStringList& lines) {
        QFile f(dataPath());
        if (!f.open(QIODevice::WriteOnly) || f.write(gbk::encode(lines.join("\r\n"))) < 0)
            qFatal("cannot write a.bz");
    }
    QString dataPath() const { return QDir(dir.path()).filePath(QStringLiteral("a.bz")); }
    QByteArray read() const {
        QFile f(dataPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    RecordGrid& grid() { return window->grid(); }
    QAction* action(const char* name) const { return window->action(QString::fromLatin1(name)); }
    // The texts of one column below the headings.
    QStringList column(int col) {
        QStringList texts;
        for (int r = 1; r < grid().rows(); ++r) texts << grid().textMatrix(r, col);
        return texts;
    }
    // Marks a row fired: the due mark and a yellow cell.
    void mark(int row) {
        grid().setTextMatrix(row, 11, QStringLiteral("到期"));
        grid().setRow(row);
        grid().setCol(3);
        grid().setCellForeColor(RecordGrid::kYellow);
    }
};
