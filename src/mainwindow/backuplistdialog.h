#pragma once
// The list of 恢复备份…: every backup copy of a.bz, newest first, with the time it was made, its
// record count and its size. The counts are worked out off the user interface thread, one copy
// after another, and fill in as they come; a long file never holds the window. Enter or a double
// click restores the selected copy, Esc closes the list.

#include <QDialog>
#include <QList>

#include "records/backups.h"

class QTableWidget;

class BackupListDialog : public QDialog {
    Q_OBJECT
  public:
    BackupListDialog(QList<BackupCopy> copies, const QString& folder, QWidget* parent = nullptr);

    // The copy the user chose, or nothing when the list was closed without a choice.
    static std::optional<BackupCopy> choose(const QList<BackupCopy>& copies, const QString& folder,
                                            QWidget* parent);

    QTableWidget* table() const { return m_table; }
    // The selected copy's index, or -1.
    int selectedIndex() const;

  private:
    void countFrom(int index);

    QList<BackupCopy> m_copies;
    QTableWidget* m_table;
};
