#include "mainwindow/backuprestore.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include "mainwindow/backuplistdialog.h"
#include "mainwindow/maintenancetexts.h"
#include "mainwindow/mainwindow.h"
#include "platform/busycursor.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "records/datafilechange.h"

using namespace maintenancetexts;

BackupRestore::BackupRestore(MainWindow& window) : QObject(&window), m_window(window) {
    m_chooser = [this](const QList<BackupCopy>& copies, const QString& folder) {
        return BackupListDialog::choose(copies, folder, &m_window);
    };
    auto* item = new QAction(kRestoreItem, &window);
    item->setObjectName(QStringLiteral("hfbf"));
    if (auto* init = window.findChild<QMenu*>(QStringLiteral("csh"))) {
        init->addSeparator();
        init->addAction(item);
    }
    connect(item, &QAction::triggered, this, &BackupRestore::restore);
}

void BackupRestore::restore() {
    MessageService& messages = m_window.messages();
    const QString path = m_window.paths().dataFilePath();
    const Backups backups(path);
    const QList<BackupCopy> copies = backups.list();
    if (copies.isEmpty()) {
        messages.show(kTitle, kNoBackups, MessageIcon::Information);
        return;
    }
    const std::optional<BackupCopy> copy = m_chooser(copies, backups.folder());
    if (!copy) return;
    const QString when = copy->made.toString(kTimeShown);
    if (!messages.ask(kTitle, kAskRestore.arg(when))) return;
    QString madeBackup;
    QString problem;
    const bool restored = [&] {
        const BusyCursor busy;
        return restoreBackup(path, copy->path, m_window.clock().now(), &madeBackup, &problem);
    }();
    if (!restored) {
        messages.show(kErrorTitle, kRestoreFailed.arg(problem), MessageIcon::Warning);
        return;
    }
    m_window.reloadRecords();
    messages.show(kTitle, kRestored.arg(when, QDir::toNativeSeparators(madeBackup)),
                  MessageIcon::Information);
}
