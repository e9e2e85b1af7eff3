#pragma once
// Helpers shared by the reminder and editor tests: GBK bytes, raw files, local times, slot flags.

#include <QDateTime>
#include <QFile>

#include "platform/gbkcodec.h"
#include "platform/profile.h"

namespace reminderfiles {

inline QByteArray g(const char* utf8) {
    return gbk::encode(QString::fromUtf8(utf8));
}
// Replaces the file with the bytes; null bytes leave no file at all.
inline bool writeRaw(const QString& path, const QByteArray& bytes) {
    QFile::remove(path);
    QFile f(path);
    return bytes.isNull() || (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}
inline QByteArray readRaw(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
inline QDateTime at(const char* text) {  // "yyyy-MM-dd hh:mm:ss", local time
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}
inline QString flag(const QString& profilePath, const char* slot) {
    return ReadProfileValue(QString::fromLatin1(slot), QStringLiteral("是否显示"), profilePath);
}

}  // namespace reminderfiles
