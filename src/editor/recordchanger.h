#pragma once
// What the editor's 添加, 保存修改, 删除记录 and 撤销 have in common: a change of chosen lines of
// a.bz, made under the data file's lock against the file the editor last read, and the grid kept
// in step with it. QtCore only.
//
// When a.bz is still the file the grid shows, the grid follows the change row by row. When
// another program changed it meanwhile, the change is applied to the fresh file (see
// changeRecordFile) and the grid is read afresh; from then on an undone deletion no longer knows
// its old place among the lines and goes to the end. Every change that reached a.bz is told on,
// so that today's list and the reminders follow at once.

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

#include "records/datafileguard.h"
#include "records/recordfilechange.h"

class Clock;
class RecordGrid;

class RecordChanger : public QObject {
    Q_OBJECT
  public:
    RecordChanger(QString dataFilePath, RecordGrid& grid, const Clock& clock,
                  QObject* parent = nullptr);

    // The grid was read afresh from a.bz, whose stamp was `stamp` before the reading began.
    // `newHistory`: the earlier changes are forgotten, so their places are exact again.
    void gridRead(const FileStamp& stamp, bool newHistory);

    // Makes the changes; their inverse, or nothing with the reason in *error (in Chinese).
    std::optional<QList<LineChange>> apply(const QList<LineChange>& changes,
                                           RecordFileChange::Backup backup, QString* error);

    // Whether the last change met a file another program had changed.
    bool wroteToFreshFile() const { return m_fresh; }

    // The line of a.bz a grid row holds, and which of the rows with those bytes it is.
    QByteArray lineOf(int row) const;
    int occurrenceOf(int row) const;

    // A test replaces the data file's writer (one that fails part-way, say).
    using Writer = std::function<RecordFileChangeResult(const RecordFileChange&)>;
    void setWriter(Writer writer) { m_writer = std::move(writer); }

  signals:
    // a.bz changed behind the editor's back: the grid must be read afresh.
    void gridStale();
    // A record (its eleven fields) was appended to a.bz.
    void recordAdded(const QStringList& fields);
    // Records of a.bz were changed, removed or put back: before[i] became after[i]; an empty
    // list stands for no record.
    void recordsChanged(const QList<QStringList>& before, const QList<QStringList>& after);

  private:
    void followInGrid(const QList<LineChange>& changes);
    void tellChanges(const QList<LineChange>& changes);

    QString m_dataFilePath;
    RecordGrid& m_grid;
    const Clock& m_clock;
    FileStamp m_stamp;
    bool m_linesExact = true;
    bool m_fresh = false;
    Writer m_writer;
};
