#include "records/recordfileload.h"

#include <QThread>

RecordFileLoad::RecordFileLoad(QString dataFilePath, int cols, QObject* parent)
    : RecordFileLoad(
          cols,
          [path = std::move(dataFilePath)](RecordGrid& grid, const LoadProgress& progress) {
              return loadAllRecords(grid, path, nullptr, progress);
          },
          parent) {}

RecordFileLoad::RecordFileLoad(int cols, Loader load, QObject* parent)
    : QObject(parent), m_grid(2, cols) {
    m_thread.reset(QThread::create([this, load = std::move(load)] {
        m_report = load(m_grid, [this](qint64 done, qint64 total) {
            if (m_stop.load()) return false;
            emit progress(done, total);
            return true;
        });
        QMetaObject::invokeMethod(this, &RecordFileLoad::finish, Qt::QueuedConnection);
    }));
    m_thread->start();
}

RecordFileLoad::~RecordFileLoad() {
    m_stop = true;
    m_thread->wait();
}

void RecordFileLoad::wait() {
    m_thread->wait();
    finish();
}

void RecordFileLoad::finish() {
    if (m_finishedSent) return;
    m_finishedSent = true;
    emit finished();
}
