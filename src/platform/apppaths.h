#pragma once
// Where the program keeps its files: a.bz (the records), ts.ini (the reminder slots),
// announced.txt (which of today's records have been announced) and qw.csv (the temperature log).
// The data directory is the directory that holds the executable when it is writable (a portable
// folder, as the program has always been used) and not a system folder such as /usr/bin or
// C:\Program Files (canHoldData()); otherwise the per-user application data directory. The
// program's own settings (mirosta.ini) lie beside a.bz, or in the per-user configuration directory
// when the data directory is the per-user one.
// QtCore only.

#include <QString>

class AppPaths {
  public:
    // settingsDir empty: the data directory.
    explicit AppPaths(QString dataDir, QString settingsDir = {});

    // The rule above, for the running program; creates the per-user directory when it is chosen.
    static AppPaths forApplication();
    // The same rule for an executable in the given folder.
    static AppPaths forExecutableDir(const QString& exeDir);

    const QString& dataDir() const { return m_dataDir; }
    QString dataFilePath() const;        // a.bz
    QString profilePath() const;         // ts.ini
    QString announcedPath() const;       // announced.txt
    QString temperatureLogPath() const;  // qw.csv
    QString settingsPath() const;        // mirosta.ini

  private:
    QString m_dataDir;
    QString m_settingsDir;
};
