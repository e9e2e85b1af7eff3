#include "editor/recordediting.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

RecordEditing::RecordEditing(EditorWindow& window) : QObject(&window), m_window(window) {
    buildControls();
    // A.bz read afresh: the row numbers are no longer those the change was started on.
    connect(&window.changer(), &RecordChanger::gridStale, this, [this] {
        if (isEditing()) endEdit();
    });
}

void RecordEditing::buildControls() {
    auto button = [this](const char* name, const QString& caption, QRect geometry) {
        auto* b = new QPushButton(caption, &m_window);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(geometry);
        b->setAutoDefault(false);
        return b;
    };
    // In 添加's place, and midway between it and 关闭.
    const QRect add = m_window.findChild<QPushButton*>(QStringLiteral("Command1"))->geometry();
    const QRect close = m_window.findChild<QPushButton*>(QStringLiteral("Command2"))->geometry();
    m_save = button("Command7", kSaveEdit, add);
    m_cancel = button("Command8", kCancelEdit, add.translated((close.left() - add.left()) / 2, 0));
    // Below the grid, leaving room to the right for more commands on it.
    const QRect grid = m_window.gridView()->geometry();
    const int height = add.height();
    m_edit = button("Command4", kEdit, QRect(grid.left() + 4, grid.bottom() + 6, 60, height));
    m_delete =
        button("Command5", kDelete, QRect(m_edit->geometry().right() + 5, m_edit->y(), 74, height));
    m_undo =
        button("Command6", kUndo, QRect(m_delete->geometry().right() + 5, m_edit->y(), 60, height));
    m_undo->setToolTip(QStringLiteral("Ctrl+Z"));
    m_undo->setEnabled(false);
    connect(&m_window.undoStack(), &QUndoStack::canUndoChanged, m_undo,
            [this](bool can) { m_undo->setEnabled(can && !isEditing()); });

    // Over the note while a record is being changed, in colours that cannot be overlooked.
    const QRect note = m_window.findChild<QLabel*>(QStringLiteral("Label13"))->geometry();
    m_banner = new QLabel(&m_window);
    m_banner->setObjectName(QStringLiteral("LabelEditing"));
    m_banner->setTextFormat(Qt::PlainText);
    m_banner->setWordWrap(true);
    m_banner->setAutoFillBackground(true);
    m_banner->setStyleSheet(
        QStringLiteral("QLabel { background: #fff3b0; color: #b00000; font-weight: bold; }"));
    m_banner->setGeometry(4, note.top() - 2, close.right() - 4, 2 * note.height() + 6);
    showEditing(QString());

    connect(m_save, &QPushButton::clicked, this, &RecordEditing::saveEdit);
    connect(m_cancel, &QPushButton::clicked, this, &RecordEditing::cancelEdit);
    connect(m_edit, &QPushButton::clicked, this, &RecordEditing::editSelected);
    connect(m_window.gridView(), &RecordGridView::gridDoubleClicked, this,
            &RecordEditing::editSelected);
    connect(m_delete, &QPushButton::clicked, this, &RecordEditing::deleteSelected);
    connect(m_undo, &QPushButton::clicked, this, &RecordEditing::undo);
    auto* undoKey = new QAction(&m_window);
    undoKey->setShortcut(QKeySequence::Undo);
    undoKey->setShortcutContext(Qt::WindowShortcut);
    connect(undoKey, &QAction::triggered, this, &RecordEditing::undo);
    m_window.addAction(undoKey);
}

QList<QPushButton*> RecordEditing::buttons() const {
    return {m_save, m_cancel, m_edit, m_delete, m_undo};
}

void RecordEditing::showEditing(const QString& banner) {
    const bool editing = !banner.isEmpty();
    m_window.showAdding(!editing);
    m_banner->setText(banner);
    m_banner->setVisible(editing);
    m_save->setVisible(editing);
    m_cancel->setVisible(editing);
    m_delete->setEnabled(!editing);
    m_undo->setEnabled(!editing && m_window.undoStack().canUndo());
}

QList<int> RecordEditing::selectedRows() const {
    const RecordGrid& grid = m_window.grid();
    QSet<int> rows;
    if (const QItemSelectionModel* selection = m_window.gridView()->selectionModel())
        for (const QItemSelectionRange& range : selection->selection())  // not cell by cell
            for (int row = range.top(); row <= range.bottom(); ++row) rows.insert(row + 1);
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
    m_record = recordCellTexts(m_window.grid(), row, recordcolumns::kDueMark);
    m_window.showRecord(m_record);
    showEditing(kEditing.arg(row).arg(m_record.at(0)));
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
    if (!makeUndoableChange(m_window.undoStack(), kStepEdit, changer, m_window.messages(), {change},
                            &error)) {
        m_window.messages().show(kTitleError, kChangeFailed.arg(error), MessageIcon::Warning);
        return;
    }
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
    showEditing(QString());
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
    if (!makeUndoableChange(m_window.undoStack(), kStepDelete.arg(rows.size()), changer,
                            m_window.messages(), changes, &error)) {
        m_window.messages().show(kTitleError, kDeleteFailed.arg(error), MessageIcon::Warning);
        return;
    }
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
