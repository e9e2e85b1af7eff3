#include "editor/recordediting.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSet>
#include <QUndoStack>

#include "editor/editortexts.h"
#include "editor/editorwindow.h"
#include "editor/recordadding.h"
#include "editor/recordchangecommand.h"
#include "editor/recordchanger.h"
#include "platform/busycursor.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"
#include "records/recordgridview.h"
#include "records/specimenrecord.h"

using namespace editortexts;

namespace {

QStringList rowFields(const RecordGrid& grid, int row) {
    QStringList fields;
    for (int c = 1; c <= recordcolumns::kDueMark; ++c) fields << grid.textMatrix(row, c);
    return fields;
}

}  // namespace

RecordEditing::RecordEditing(EditorWindow& window) : QObject(&window), m_window(window) {
    // A.bz read afresh: the row numbers are no longer those the change was started on.
    connect(&window.changer(), &RecordChanger::gridStale, this, [this] {
        if (isEditing()) endEdit();
    });
}

QList<int> RecordEditing::selectedRows() const {
    const RecordGrid& grid = m_window.grid();
    QSet<int> rows;
    if (const QItemSelectionModel* selection = m_window.gridView()->selectionModel())
        for (const QModelIndex& index : selection->selectedIndexes()) rows.insert(index.row() + 1);
    if (rows.isEmpty()) rows.insert(grid.rowSel());
    QList<int> records;
    for (int row : rows)
        if (row >= 1 && row < grid.rows() - 1) records << row;
    std::sort(records.begin(), records.end());
    return records;
}

void RecordEditing::editSelected() {
    // The current row when it is selected, else the first selected one. The view's rows start
    // below the heading row.
    const QList<int> rows = selectedRows();
    const QModelIndex current = m_window.gridView()->currentIndex();
    const int row = current.isValid() && rows.contains(current.row() + 1) ? current.row() + 1
                                                                          : rows.value(0, -1);
    if (row < 1) {
        m_window.messages().show(kTitleNote, kChooseRowToEdit, MessageIcon::Information);
        return;
    }
    editRow(row);
}

void RecordEditing::editRow(int row) {
    if (m_window.recordsLoading()) {
        m_window.messages().show(kTitleNote, kEditWhileLoading, MessageIcon::Information);
        return;
    }
    if (!isEditing()) {
        m_typed = m_window.recordFields();
        m_typedAge = {m_window.ageHours(), m_window.ageMinutes()};
    }
    m_row = row;
    m_record = rowFields(m_window.grid(), row);
    m_window.showRecord(m_record);
    m_window.showEditing(kEditing.arg(row).arg(m_record.at(0)));
    m_window.gridView()->selectRow(row - 1);
    if (auto* first = m_window.findChild<QLineEdit*>(QStringLiteral("Text1"))) first->setFocus();
}

void RecordEditing::saveEdit() {
    if (!isEditing() || m_window.refuseUnstorableField()) return;
    if (!m_window.findChild<RecordAdding*>()->checkBeforeSave(m_row)) return;
    const QStringList after = m_window.recordFields();
    if (after.mid(0, recordcolumns::kDueMark - 1) == m_record.mid(0, recordcolumns::kDueMark - 1)) {
        endEdit();
        m_window.showStatus(kUnchanged);
        return;
    }
    RecordChanger& changer = m_window.changer();
    LineChange change;
    change.kind = LineChange::Kind::Replace;
    change.line = changer.lineOf(m_row);
    change.occurrence = changer.occurrenceOf(m_row);
    change.text = gbk::encode(joinRecordLine(after));
    change.gridRow = m_row;
    QString error;
    const auto inverse = [&] {
        const BusyCursor busy;
        return changer.apply({change}, RecordFileChange::Backup::FirstOfTheDay, &error);
    }();
    if (!inverse) {
        m_window.messages().show(kTitleError, kChangeFailed.arg(error), MessageIcon::Warning);
        return;
    }
    m_window.undoStack().push(
        new RecordChangeCommand(kStepEdit, changer, m_window.messages(), {change}, *inverse));
    const int row = m_row;
    endEdit();
    m_window.showStatus(changer.wroteToFreshFile() ? kFreshFile : kChanged);
    if (!changer.wroteToFreshFile()) m_window.gridView()->selectRow(row - 1);
}

void RecordEditing::cancelEdit() {
    if (!isEditing()) return;
    endEdit();
    m_window.showRecord(m_typed);
    // showRecord() sets the age's extra hours and minutes to 0: they come back too.
    if (auto* hours = m_window.findChild<QLineEdit*>(QStringLiteral("Text2")))
        hours->setText(m_typedAge.value(0));
    if (auto* minutes = m_window.findChild<QLineEdit*>(QStringLiteral("Text11")))
        minutes->setText(m_typedAge.value(1));
}

void RecordEditing::endEdit() {
    m_row = 0;
    m_record.clear();
    m_window.showEditing(QString());
}

void RecordEditing::deleteSelected() {
    if (isEditing()) return;
    if (m_window.recordsLoading()) {
        m_window.messages().show(kTitleNote, kEditWhileLoading, MessageIcon::Information);
        return;
    }
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        m_window.messages().show(kTitleNote, kChooseRowsToDelete, MessageIcon::Information);
        return;
    }
    if (!m_window.messages().ask(kTitleNote, kDeleteQuestion.arg(rows.size()))) return;
    RecordChanger& changer = m_window.changer();
    QList<LineChange> changes;
    for (int row : rows) {
        LineChange change;
        change.kind = LineChange::Kind::Remove;
        change.line = changer.lineOf(row);
        change.occurrence = changer.occurrenceOf(row);
        change.gridRow = row;
        changes << change;
    }
    QString error;
    const auto inverse = [&] {
        const BusyCursor busy;
        return changer.apply(changes, RecordFileChange::Backup::FirstOfTheDay, &error);
    }();
    if (!inverse) {
        m_window.messages().show(kTitleError, kDeleteFailed.arg(error), MessageIcon::Warning);
        return;
    }
    m_window.undoStack().push(new RecordChangeCommand(kStepDelete.arg(rows.size()), changer,
                                                      m_window.messages(), changes, *inverse));
    m_window.showStatus(changer.wroteToFreshFile() ? kFreshFile : kDeleted.arg(rows.size()));
}

void RecordEditing::undo() {
    if (isEditing()) return;
    QUndoStack& stack = m_window.undoStack();
    if (m_window.recordsLoading()) {
        m_window.messages().show(kTitleNote, kEditWhileLoading, MessageIcon::Information);
        return;
    }
    if (!stack.canUndo()) {
        m_window.showStatus(kNothingToUndo);
        return;
    }
    const QString step = stack.undoText();
    const int steps = stack.count();
    {
        const BusyCursor busy;
        stack.undo();
    }
    if (stack.count() == steps)  // a step that could not be undone has left the stack
        m_window.showStatus(m_window.changer().wroteToFreshFile() ? kFreshFile : kUndone.arg(step));
}
