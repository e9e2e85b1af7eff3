#pragma once
// A save file whose device takes `room` bytes and then fails, the way a full disk does.

#include <QSaveFile>

struct FailingSaveFile : QSaveFile {
    FailingSaveFile(const QString& name, qint64 room) : QSaveFile(name), m_room(room) {}
    qint64 writeData(const char* data, qint64 len) override {
        const qint64 n = m_room > 0 ? QSaveFile::writeData(data, qMin(len, m_room)) : -1;
        m_room -= qMax<qint64>(n, 0);
        return n;
    }
    qint64 m_room;
};
