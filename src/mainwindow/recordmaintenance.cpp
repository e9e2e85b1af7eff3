#include "mainwindow/recordmaintenance.h"

#include <QAction>
#include <QFileInfo>
#include <QSet>

#include "mainwindow/mainwindow.h"
#include "mainwindow/reminderswitch.h"
#include "platform/busycursor.h"
#include "platform/messageservice.h"
#include "platform/textfile.h"
#include "records/recordgridview.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"

namespace {

const QString kTitle = QStringLiteral("提示");

// The line a.bz holds for a row: columns 1 to 10, each followed by a comma (an empty due mark).
QByteArray recordLineOf(const RecordGrid& grid, int row) {
    QByteArray line;
    grid.appendCellBytes(row, 1, 10, line);
    return line + ',';
}

// Rewrites the file without the given lines, the others in their order with CR LF between them.
// The reason in Chinese when the file could not be read or written (and is left as it was).
QString removeLines(const QString& path, const QSet<QByteArray>& lines) {
    QSet<qsizetype> lengths;  // a quick first test for each line of the file
    for (const QByteArray& line : lines) lengths.insert(line.size());
    LineBlockReader reader(path);
    if (reader.status() == FileStatus::Missing) return QStringLiteral("数据文件不存在。");
    if (reader.status() != FileStatus::Ok) return reader.error();
    const auto keepLines = [&](const ByteWriter& write) {
        bool ok = true;
        bool first = true;
        QByteArray block;
        while (ok && reader.next(block)) {
            forEachLine(block, [&](QByteArrayView line) {
                if (!ok) return;
                if (lengths.contains(line.size()) &&
                    lines.contains(QByteArray::fromRawData(line.data(), line.size())))
                    return;
                ok = (first || write("\r\n")) && write(line);
                first = false;
            });
        }
        return ok && reader.status() == FileStatus::Ok;
    };
    QString error;
    if (writeFileAtomically(path, keepLines, &error)) return {};
    return error.isEmpty() ? reader.error() : error;
}

}  // namespace

RecordMaintenance::RecordMaintenance(MainWindow& window, ReminderSwitch& reminderSwitch)
    : QObject(&window), m_window(window), m_switch(reminderSwitch) {
    connect(window.gridView(), &RecordGridView::gridDoubleClicked, this,
            &RecordMaintenance::shanchuxuanzhong);
    connect(window.action(QStringLiteral("scgqsj")), &QAction::triggered, this,
            &RecordMaintenance::deleteExpired);
    connect(window.action(QStringLiteral("sjcsh")), &QAction::triggered, this,
            &RecordMaintenance::initialiseData);
}

void RecordMaintenance::shanchuxuanzhong() {
    RecordGrid& grid = m_window.grid();
    const int selected = grid.rowSel();
    if (selected <= 0 || selected >= grid.rows()) return;
    // The row goes with its colours, so a fired row's highlight never passes to its neighbour.
    grid.removeItem(selected);
    numberRows(grid);
}

void RecordMaintenance::deleteExpired() {
    RecordGrid& grid = m_window.grid();
    if (grid.rows() <= 2) {
        m_window.messages().show(kTitle, QStringLiteral("没有检测到数据"),
                                 MessageIcon::Information);
    } else if (delgqshuju() && grid.rows() == 2) {
        m_switch.stop();
        m_window.messages().show(
            QStringLiteral("删除提醒"),
            QStringLiteral("由于今日提醒完毕。所以已经关闭提醒。 您可以关闭本程序以便节省资源。"),
            MessageIcon::None);
    }
    numberRows(grid);
}

bool RecordMaintenance::delgqshuju() {
    RecordGrid& grid = m_window.grid();
    QSet<QByteArray> firedLines;
    QList<int> firedRows;  // from the last row up, the order in which they leave the list
    for (int r = grid.rows() - 1; r >= 1; --r) {
        if (grid.textMatrix(r, recordcolumns::kDueMark) != dueMarkText()) continue;
        firedLines.insert(recordLineOf(grid, r));
        firedRows.append(r);
    }
    const QString problem = [&] {
        const BusyCursor busy;  // a long file takes a moment to rewrite
        return removeLines(m_window.paths().dataFilePath(), firedLines);
    }();
    if (!problem.isEmpty()) {
        m_window.messages().show(
            QStringLiteral("错误"),
            QStringLiteral("无法删除过期数据：%1\n数据文件和列表均未改动。").arg(problem),
            MessageIcon::Warning);
        return false;
    }
    for (int r : firedRows) grid.removeItem(r);
    return true;
}

void RecordMaintenance::initialiseData() {
    const QString path = m_window.paths().dataFilePath();
    if (!QFileInfo::exists(path)) {
        m_window.messages().show(kTitle, QStringLiteral("无需初始化数据。"),
                                 MessageIcon::Information);
        return;
    }
    if (!m_window.messages().ask(
            kTitle,
            QStringLiteral("数据初始化将删除数据文件中的全部记录，且无法恢复。\n确定要继续吗？")))
        return;
    QString error;
    if (!writeFileAtomically(path, QByteArray(), &error)) {
        m_window.messages().show(QStringLiteral("错误"),
                                 QStringLiteral("数据初始化失败：%1\n数据文件未改动。").arg(error),
                                 MessageIcon::Warning);
        return;
    }
    m_window.messages().show(kTitle, QStringLiteral("初始化完成。"), MessageIcon::Information);
}
