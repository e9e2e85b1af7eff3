#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QFile>

#include "platform/filereplace.h"

bool renameReplacesOpenFiles() {
    return true;
}

bool moveIntoPlace(const QString& from, const QString& to, int, QString* reason) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (reason) *reason = QString::fromLocal8Bit(strerror(errno));
    return false;
}
