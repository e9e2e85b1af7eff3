#include "platform/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

AppPaths::AppPaths(QString dataDir) : m_dataDir(std::move(dataDir)) {}

AppPaths AppPaths::forApplication() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QFileInfo info(exeDir);
    if (info.isDir() && info.isWritable()) return AppPaths(exeDir);
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
    return AppPaths(dir);
}

QString AppPaths::dataFilePath() const {
    return QDir(m_dataDir).filePath(QStringLiteral("a.bz"));
}

QString AppPaths::profilePath() const {
    return QDir(m_dataDir).filePath(QStringLiteral("ts.ini"));
}
