#pragma once
// 恢复备份… (menu 菜单 → 初始化, beside 数据初始化): lists the backup copies of a.bz, and after a
// 是/否 question puts the chosen one back in a.bz's place, backing the current file up first.
// Today's list is read again at once, so that the reminders follow the restored records.

#include <QObject>
#include <functional>
#include <optional>

#include "records/backups.h"

class MainWindow;

class BackupRestore : public QObject {
    Q_OBJECT
  public:
    // Picks one of the copies (newest first) in the backup folder, or none.
    using Chooser = std::function<std::optional<BackupCopy>(const QList<BackupCopy>& copies,
                                                            const QString& folder)>;

    explicit BackupRestore(MainWindow& window);

    void restore();
    // Tests choose without the list window.
    void setChooser(Chooser chooser) { m_chooser = std::move(chooser); }

  private:
    MainWindow& m_window;
    Chooser m_chooser;
};
