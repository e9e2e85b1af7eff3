#include "mainwindow/backuplistdialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "mainwindow/maintenancetexts.h"
#include "planning/backgroundtask.h"

using namespace maintenancetexts;

namespace {

enum Column { kTimeColumn, kRecordsColumn, kSizeColumn, kNameColumn };

QString sizeText(qint64 bytes) {
    if (bytes < 1024) return kBytes.arg(bytes);
    const bool mega = bytes >= 1024 * 1024;
    return QStringLiteral("%1 %2")
        .arg(double(bytes) / (mega ? 1024 * 1024 : 1024), 0, 'f', 1)
        .arg(mega ? QStringLiteral("MB") : QStringLiteral("KB"));
}

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

}  // namespace

BackupListDialog::BackupListDialog(QList<BackupCopy> copies, const QString& folder, QWidget* parent)
    : QDialog(parent), m_copies(std::move(copies)) {
    setObjectName(QStringLiteral("hfbfDialog"));
    setWindowTitle(kRestoreCaption);
    auto* hint = new QLabel(kRestorePick.arg(QDir::toNativeSeparators(folder)), this);
    hint->setTextFormat(Qt::PlainText);
    hint->setWordWrap(true);

    m_table = new QTableWidget(int(m_copies.size()), int(kRestoreColumns.size()), this);
    m_table->setAccessibleName(kRestoreCaption);
    m_table->setHorizontalHeaderLabels(kRestoreColumns);
    m_table->verticalHeader()->setVisible(false);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setTabKeyNavigation(false);
    for (int i = 0; i < m_copies.size(); ++i) {
        const BackupCopy& copy = m_copies.at(i);
        m_table->setItem(i, kTimeColumn, cell(copy.made.toString(kTimeShown)));
        m_table->setItem(i, kRecordsColumn, cell(kCounting, Qt::AlignRight));
        m_table->setItem(i, kSizeColumn, cell(sizeText(copy.size), Qt::AlignRight));
        m_table->setItem(i, kNameColumn, cell(QFileInfo(copy.path).fileName()));
    }
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->selectRow(0);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* restore = buttons->addButton(kRestoreButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(kCancelButton, QDialogButtonBox::RejectRole);
    restore->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(640, 400);
    m_table->setFocus();
    countFrom(0);
}

void BackupListDialog::countFrom(int index) {
    if (index >= m_copies.size()) return;
    const QString path = m_copies.at(index).path;
    runInBackground<std::optional<int>>(
        this, [path] { return Backups::recordCount(path); },
        [this, index](std::optional<int> records) {
            m_table->item(index, kRecordsColumn)
                ->setText(records ? QString::number(*records) : kUnreadable);
            countFrom(index + 1);
        });
}

int BackupListDialog::selectedIndex() const {
    const QList<QTableWidgetSelectionRange> ranges = m_table->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

std::optional<BackupCopy> BackupListDialog::choose(const QList<BackupCopy>& copies,
                                                   const QString& folder, QWidget* parent) {
    BackupListDialog dialog(copies, folder, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedIndex() < 0) return std::nullopt;
    return copies.at(dialog.selectedIndex());
}
