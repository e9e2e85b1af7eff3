#pragma once
// Reading records of a.bz on a thread of its own, so that a long file leaves the window free: every
// record (the editor's loader), or those another loader picks (today's list at start-up, the
// records of earlier days). The records go into a grid of the load's own; the window takes them
// over in one step once the load has finished, so no window ever holds, shows or saves half a
// file. Destroying the load stops the reading (of a loader that asks its progress) and waits for
// the thread. QtCore only.

#include <QList>
#include <QObject>
#include <atomic>
#include <memory>

#include "records/recordgrid.h"
#include "records/recordloader.h"

class QThread;

class RecordFileLoad : public QObject {
    Q_OBJECT
  public:
    // Fills the grid, on the load's thread; `progress` returns false once the load is stopped.
    using Loader = std::function<LoadReport(RecordGrid& grid, const LoadProgress& progress)>;

    // Starts reading every record of the file into a grid of `cols` columns.
    RecordFileLoad(QString dataFilePath, int cols, QObject* parent = nullptr);
    // Starts the loader on a grid of `cols` columns.
    RecordFileLoad(int cols, Loader load, QObject* parent = nullptr);
    ~RecordFileLoad() override;

    // Waits until the reading has ended; finished() has been emitted when this returns.
    void wait();
    bool isFinished() const { return m_finishedSent; }

    // Once finished: what was read.
    RecordGrid& grid() { return m_grid; }
    const LoadReport& report() const { return m_report; }

  signals:
    // Bytes read so far, of the file's size.
    void progress(qint64 done, qint64 total);
    // Emitted once, in the thread the load belongs to.
    void finished();

  private:
    void finish();

    RecordGrid m_grid;
    LoadReport m_report;
    std::atomic<bool> m_stop{false};
    bool m_finishedSent = false;
    std::unique_ptr<QThread> m_thread;
};
