#pragma once
// Work that would freeze a window (reading or writing a large a.bz) runs on a thread of its own;
// its result comes back on the receiver's thread, through the event loop. When the receiver is gone
// by then, the result is dropped. QtCore only.

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

template <typename Result>
void runInBackground(QObject* receiver, std::function<Result()> work,
                     std::function<void(Result)> done) {
    auto result = std::make_shared<Result>();
    QThread* thread = QThread::create([work = std::move(work), result] { *result = work(); });
    QObject::connect(thread, &QThread::finished, receiver,
                     [done = std::move(done), result] { done(std::move(*result)); });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}
