#include "editor/recordchanger.h"

#include <algorithm>
#include <optional>

#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"

namespace {

using Kind = LineChange::Kind;

QStringList fieldsOf(const QByteArray& line) {
    return line.isNull() ? QStringList() : splitRecordLine(gbk::decode(line));
}

// The cells a line of a.bz puts into a grid row: all its fields but the last (the due mark).
QByteArrayView cellsOf(const QByteArray& line) {
    return QByteArrayView(line).first(qMax<qsizetype>(line.lastIndexOf(','), 0));
}

}  // namespace

RecordChanger::RecordChanger(QString dataFilePath, RecordGrid& grid, const Clock& clock,
                             QObject* parent)
    : QObject(parent), m_dataFilePath(std::move(dataFilePath)), m_grid(grid), m_clock(clock) {}

void RecordChanger::gridRead(const FileStamp& stamp, bool newHistory) {
    m_stamp = stamp;
    if (newHistory) m_linesExact = true;
}

QByteArray RecordChanger::lineOf(int row) const {
    QByteArray line;
    m_grid.appendCellBytes(row, 1, recordcolumns::kDueMark - 1, line);
    return line + ',';
}

int RecordChanger::occurrenceOf(int row) const {
    const QStringList cells = recordCellTexts(m_grid, row, recordcolumns::kDueMark - 1);
    int occurrence = 0;
    for (int r = m_grid.findRow(cells, 1); r >= 0 && r < row; r = m_grid.findRow(cells, 1, r + 1))
        ++occurrence;
    return occurrence;
}

std::optional<QList<LineChange>> RecordChanger::apply(const QList<LineChange>& changes,
                                                      RecordFileChange::Backup backup,
                                                      QString* error) {
    RecordFileChange change{changes, m_stamp, m_linesExact, backup, m_clock.now()};
    const RecordFileChangeResult result =
        m_writer ? m_writer(change) : changeRecordFile(m_dataFilePath, change);
    m_fresh = result.fileWasChanged;
    if (!result.ok) {
        if (error) *error = result.error;
        if (result.fileWasChanged) {
            m_linesExact = false;
            emit gridStale();
        }
        return std::nullopt;
    }
    if (result.fileWasChanged || !m_linesExact) {
        m_linesExact = false;
        emit gridStale();
    } else {
        m_stamp = result.stamp;
        followInGrid(changes);
    }
    tellChanges(changes);
    return result.inverse;
}

void RecordChanger::followInGrid(const QList<LineChange>& changes) {
    QList<LineChange> ordered = changes;
    // Removals from the last row up, insertions from the first row down, appends in their order.
    auto rank = [](const LineChange& c) {
        return c.kind == Kind::Remove   ? 1
               : c.kind == Kind::Insert ? 2
               : c.kind == Kind::Append ? 3
                                        : 0;
    };
    std::stable_sort(ordered.begin(), ordered.end(), [&](const LineChange& a, const LineChange& b) {
        if (rank(a) != rank(b)) return rank(a) < rank(b);
        if (a.kind == Kind::Remove) return a.gridRow > b.gridRow;
        if (a.kind == Kind::Insert) return a.gridRow < b.gridRow;
        return false;
    });
    // Rows that move renumber the rows after them, which a bulk update tells the view at once.
    const bool rowsMove = std::any_of(ordered.begin(), ordered.end(), [](const LineChange& c) {
        return c.kind == Kind::Remove || c.kind == Kind::Insert;
    });
    std::optional<RecordGrid::BulkUpdate> bulk;
    if (rowsMove) bulk.emplace(m_grid);
    for (const LineChange& c : ordered) {
        switch (c.kind) {
            case Kind::Replace:
                m_grid.setRecordCells(c.gridRow, cellsOf(c.text));
                m_grid.setTextMatrix(c.gridRow, recordcolumns::kNumber, QString::number(c.gridRow));
                break;
            case Kind::Remove:
                m_grid.removeItem(c.gridRow);
                break;
            case Kind::Insert:
                m_grid.insertItem(c.gridRow);
                m_grid.setRecordCells(c.gridRow, cellsOf(c.text));
                break;
            case Kind::Append: {
                const int row = m_grid.rows() - 1;  // the trailing empty row takes the record
                m_grid.setRecordCells(row, cellsOf(c.text));
                m_grid.setTextMatrix(row, recordcolumns::kNumber, QString::number(row));
                m_grid.addItem();
                break;
            }
        }
    }
    if (rowsMove) {
        // The rows above the first one that moved keep their numbers.
        int from = m_grid.rows() - 1;
        for (const LineChange& c : ordered)
            if (c.kind == Kind::Remove || c.kind == Kind::Insert) from = qMin(from, c.gridRow);
        const int last = m_grid.rows() - 1;
        for (int r = qMax(from, 1); r < last; ++r)
            m_grid.setTextMatrix(r, recordcolumns::kNumber, QString::number(r));
        m_grid.setTextMatrix(last, recordcolumns::kNumber, QString());
    }
}

void RecordChanger::tellChanges(const QList<LineChange>& changes) {
    QList<QStringList> before;
    QList<QStringList> after;
    for (const LineChange& c : changes) {
        if (c.kind == Kind::Append) {
            emit recordAdded(fieldsOf(c.text));
            continue;
        }
        before << (c.kind == Kind::Insert ? QStringList() : fieldsOf(c.line));
        after << (c.kind == Kind::Remove ? QStringList() : fieldsOf(c.text));
    }
    if (!before.isEmpty()) emit recordsChanged(before, after);
}
