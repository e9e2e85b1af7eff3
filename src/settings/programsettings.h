#pragma once
// What the program keeps from one run to the next, in its INI file (AppPaths::settingsPath()):
// the scan interval, the alert sound of the reminders and their advance notice, and the main
// window's place and size and the widths of its grid's columns.
// A missing, damaged or out-of-range value reads as its default without a word; a file that
// cannot be written costs the setting and nothing else. QtCore only.

#include <QByteArray>
#include <QList>
#include <QString>

class ProgramSettings {
  public:
    static constexpr int kDefaultScanIntervalMs = 5000;
    static constexpr int kMaxAdvanceMinutes = 120;

    explicit ProgramSettings(QString iniPath);

    // 1 to kMaxScanIntervalMs milliseconds, else kDefaultScanIntervalMs.
    int scanInterval() const;
    void setScanInterval(int milliseconds);

    // Whether a reminder that opens plays the alert sound; on unless switched off.
    bool alertSound() const;
    void setAlertSound(bool on);

    // How many minutes before a batch falls due it is named in advance: 0 (none, the default) to
    // kMaxAdvanceMinutes.
    int advanceMinutes() const;
    void setAdvanceMinutes(int minutes);

    // What QWidget::saveGeometry() gave; empty when nothing is kept.
    QByteArray mainWindowGeometry() const;
    void setMainWindowGeometry(const QByteArray& geometry);

    // The width in twips of each of `count` grid columns, RecordGrid::kDefaultWidth where none
    // (or no sensible one) is kept.
    QList<int> columnWidths(int count) const;
    void setColumnWidths(const QList<int>& twips);

  private:
    QString m_path;
};
