#pragma once
// Small helpers shared by the reminder tests: GBK bytes from UTF-8 text, raw file access and
// times written as text.

#include <QByteArray>
#include <QDateTime>
#include <QFile>

#include "platform/gbkcodec.h"

namespace reminderfiles {

inline QByteArray g(const char* utf8) {
    return gbk::encode(QString::fromUtf8(utf8));
}

// Replaces the file with the bytes; null bytes leave no file at all.
inline bool writeRaw(const QString& path, const QByteArray& bytes) {
    QFile::remove(path);
    if (bytes.isNull()) return true;
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readRaw(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// "yyyy-MM-dd hh:mm:ss", local time.
inline QDateTime at(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

}  // namespace reminderfiles
