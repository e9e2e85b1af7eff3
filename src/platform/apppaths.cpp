#include "platform/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

AppPaths::AppPaths(QString dataDir, QString settingsDir)
    : m_dataDir(std::move(dataDir)),
      m_settingsDir(settingsDir.isEmpty() ? m_dataDir : std::move(settingsDir)) {}

namespace {

// Folders that programs are installed into are never a portable folder, even for root, who may
// write there.
bool isSystemFolder(const QString& dir) {
    for (const QString& system :
         {QStringLiteral("/usr"), QStringLiteral("/opt"), QStringLiteral("/bin"),
          QStringLiteral("/sbin"), QStringLiteral("/snap")})
        if (dir == system || dir.startsWith(system + u'/')) return true;
    return false;
}

}  // namespace

AppPaths AppPaths::forApplication() {
    return forExecutableDir(QCoreApplication::applicationDirPath());
}

AppPaths AppPaths::forExecutableDir(const QString& exeDir) {
    const QFileInfo info(exeDir);
    if (info.isDir() && info.isWritable() && !isSystemFolder(info.canonicalFilePath()))
        return AppPaths(exeDir);
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
    return AppPaths(dir, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

QString AppPaths::dataFilePath() const {
    return QDir(m_dataDir).filePath(QStringLiteral("a.bz"));
}

QString AppPaths::profilePath() const {
    return QDir(m_dataDir).filePath(QStringLiteral("ts.ini"));
}

QString AppPaths::announcedPath() const {
    return QDir(m_dataDir).filePath(QStringLiteral("announced.txt"));
}

QString AppPaths::temperatureLogPath() const {
    return QDir(m_dataDir).filePath(QStringLiteral("qw.csv"));
}

QString AppPaths::settingsPath() const {
    return QDir(m_settingsDir).filePath(QStringLiteral("mirosta.ini"));
}
