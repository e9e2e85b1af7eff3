#include "platform/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "platform/programfolder.h"

AppPaths::AppPaths(QString dataDir, QString settingsDir)
    : m_dataDir(std::move(dataDir)),
      m_settingsDir(settingsDir.isEmpty() ? m_dataDir : std::move(settingsDir)) {}

AppPaths AppPaths::forApplication() {
    return forExecutableDir(QCoreApplication::applicationDirPath());
}

AppPaths AppPaths::forExecutableDir(const QString& exeDir) {
    if (canHoldData(exeDir)) return AppPaths(exeDir);
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
