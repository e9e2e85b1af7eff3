#include "mainwindow/recordmaintenance.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include "mainwindow/maintenancetexts.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/reminderswitch.h"
#include "platform/busycursor.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "records/datafilechange.h"
#include "records/firedlines.h"
#include "records/recordgridview.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"

using namespace maintenancetexts;

namespace {

constexpr int kProjectPartColumn = 1;

// The line a.bz holds for a row: columns 1 to 10, each followed by a comma (an empty due mark).
QByteArray recordLineOf(const RecordGrid& grid, int row) {
    QByteArray line;
    grid.appendCellBytes(row, 1, 10, line);
    return line + ',';
}

bool hasFired(const RecordGrid& grid, int row) {
    return grid.textMatrix(row, recordcolumns::kDueMark) == dueMarkText();
}

// The fired rows from the last up, the order in which they leave the list, and their lines.
struct FiredRows {
    QList<int> rows;
    QList<QByteArray> lines;
};

FiredRows firedRowsOf(const RecordGrid& grid) {
    FiredRows fired;
    for (int r = grid.rows() - 1; r >= 1; --r) {
        if (!hasFired(grid, r)) continue;
        fired.rows.append(r);
        fired.lines.append(recordLineOf(grid, r));
    }
    return fired;
}

QString deleteQuestion(int inFile, int rows) {
    if (inFile == 0) return kAskDeleteNoneInFile.arg(rows) + kAskContinue;
    const QString notInFile = rows > inFile ? kAskDeleteNotInFile.arg(rows - inFile) : QString();
    return kAskDelete.arg(inFile) + notInFile + kAskContinue;
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
    // A batch still to come is taken off only when the user says so; the trailing empty row and a
    // fired row go at once.
    const QString number = grid.textMatrix(selected, 0);
    if (!number.isEmpty() && !hasFired(grid, selected)) {
        const QByteArray line = recordLineOf(grid, selected);
        if (!m_window.messages().ask(
                kTitle, kAskRemoveRow.arg(number, grid.textMatrix(selected, kProjectPartColumn),
                                          grid.textMatrix(selected, recordcolumns::kDueTime))))
            return;
        // While the question was open the scan may have fired the row, or a new day's list come.
        if (selected >= grid.rows() || recordLineOf(grid, selected) != line) return;
    }
    // The row goes with its colours, so a fired row's highlight never passes to its neighbour.
    grid.removeItem(selected);
    numberRows(grid);
}

void RecordMaintenance::deleteExpired() {
    RecordGrid& grid = m_window.grid();
    if (grid.rows() <= 2) {
        m_window.messages().show(kTitle, kNoData, MessageIcon::Information);
    } else if (delgqshuju() && grid.rows() == 2) {
        m_switch.stop();
        m_window.messages().show(kListDone, kListDoneText, MessageIcon::None);
    }
    numberRows(grid);
}

bool RecordMaintenance::delgqshuju() {
    RecordGrid& grid = m_window.grid();
    MessageService& messages = m_window.messages();
    const QString path = m_window.paths().dataFilePath();
    const auto fail = [&](const QString& problem) {
        messages.show(kErrorTitle, kDeleteFailed.arg(problem), MessageIcon::Warning);
        return false;
    };
    FiredRows fired = firedRowsOf(grid);
    if (fired.rows.isEmpty()) {
        messages.show(kTitle, kNothingFired, MessageIcon::Information);
        return false;
    }
    QString problem;
    const std::optional<int> inFile = [&] {
        const BusyCursor busy;  // a long file takes a moment to read
        return FiredLines(fired.lines).countIn(path, &problem);
    }();
    if (!inFile) return fail(problem);
    if (!messages.ask(kTitle, deleteQuestion(*inFile, int(fired.rows.size())))) return false;

    // The scan may have marked more rows while the question was open.
    fired = firedRowsOf(grid);
    int removed = 0;
    // The lock is let go before any message: a box left open must not keep other writers out.
    const bool rewritten = *inFile == 0 || [&] {
        const BusyCursor busy;
        DataFileChange change(path);
        if (!change.begin(&problem) || !change.backUp(m_window.clock().now(), &problem))
            return false;
        const FiredLines lines(fired.lines);
        QString readError;
        const auto rest = [&](const ByteWriter& write) {
            return lines.writeRest(path, write, &removed, &readError);
        };
        if (change.replace(rest, &problem)) return true;
        if (problem.isEmpty()) problem = readError;
        return false;
    }();
    if (!rewritten) return fail(problem);
    for (int r : fired.rows) grid.removeItem(r);
    if (removed != *inFile)
        messages.show(kTitle, kDeletedOther.arg(removed), MessageIcon::Information);
    return true;
}

void RecordMaintenance::initialiseData() {
    MessageService& messages = m_window.messages();
    const QString path = m_window.paths().dataFilePath();
    if (!QFileInfo::exists(path)) {
        messages.show(kTitle, kNoInitNeeded, MessageIcon::Information);
        return;
    }
    const auto fail = [&](const QString& problem) {
        messages.show(kErrorTitle, kInitFailed.arg(problem), MessageIcon::Warning);
    };
    QString problem;
    FileStamp asked;
    QString backup;
    int records = 0;
    const bool copied = [&] {
        // The copy is made first, so that the question can name it; the lock is let go while the
        // question is open.
        const BusyCursor busy;
        DataFileChange copy(path);
        if (!copy.begin(&problem) ||
            !copy.backUp(m_window.clock().now(), &problem, Backups::Method::Copy))
            return false;
        asked = copy.stamp();
        backup = copy.backupPath();
        records = Backups::recordCount(backup).value_or(0);
        return true;
    }();
    if (!copied) return fail(problem);
    if (!messages.ask(kTitle, kAskInit.arg(records).arg(QDir::toNativeSeparators(backup)))) return;
    // The lock is let go before any message: a box left open must not keep other writers out.
    const bool emptied = [&] {
        DataFileChange change(path);
        if (!change.begin(&problem)) return false;
        // Emptying a file other than the one the user was asked about (and the copy holds) would
        // lose what was written meanwhile.
        if (change.stamp() == asked) return change.replace(QByteArray(), &problem);
        problem = DataFileChange::changedMessage(path);
        return false;
    }();
    if (!emptied) return fail(problem);
    m_window.reloadRecords();
    messages.show(kTitle, kInitDone, MessageIcon::Information);
}
