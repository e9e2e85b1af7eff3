#include "editor/recordexport.h"

#include <QAction>
#include <QDir>
#include <QProgressDialog>

#include "planning/backgroundtask.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"
#include "platform/textfile.h"
#include "records/recordgrid.h"
#include "records/specimenrecord.h"
#include "report/csvtext.h"
#include "report/reportdialogs.h"
#include "report/reporttexts.h"

using namespace reporttexts;

namespace {

const QString kListTitle = QStringLiteral("全部记录");
const QString kFileName = QStringLiteral("全部记录_%1");
const QString kNoRecords = QStringLiteral("表格中没有记录。");
const QString kTooLong = QStringLiteral(
    "表格中有 %1 条记录，PDF 最多导出 %2 条，否则页数太多、难以阅读。\n"
    "请导出 CSV 后在电子表格中查看或打印。");

// The headings of the record columns 1 to 11.
QStringList recordColumns() {
    return recordHeadings().mid(1, SpecimenRecord::kFieldCount);
}

}  // namespace

RecordExport::RecordExport(RecordGrid& grid, QWidget* gridView, const Clock& clock,
                           MessageService& messages)
    : QObject(gridView), m_grid(grid), m_view(gridView), m_clock(clock), m_messages(messages) {
    // The file name suggested carries the day of the export.
    auto ask = [this](const QString& title, const QString& filter, const char* suffix) {
        const QString day = m_clock.now().date().toString(Qt::ISODate);
        return askSavePath(m_view, title, kFileName.arg(day), filter, QString::fromLatin1(suffix));
    };
    auto* csvAction = new QAction(kExportCsv, gridView);
    connect(csvAction, &QAction::triggered, this, [this, ask] {
        if (isExporting()) return;
        const QString path = ask(kExportCsv, kCsvFilter, "csv");
        if (!path.isEmpty()) exportCsv(path);
    });
    auto* pdfAction = new QAction(kExportPdf, gridView);
    connect(pdfAction, &QAction::triggered, this, [this, ask] {
        const QString path = ask(kExportPdf, kPdfFilter, "pdf");
        if (!path.isEmpty()) exportPdf(path);
    });
    gridView->addAction(csvAction);
    gridView->addAction(pdfAction);
    gridView->setContextMenuPolicy(Qt::ActionsContextMenu);
}

int RecordExport::recordCount() const {
    // The grid ends with its empty row.
    return qMax(m_grid.rows() - 2, 0);
}

void RecordExport::exportCsv(const QString& path) {
    const int records = recordCount();
    if (records == 0) {
        m_messages.show(kTitle, kNoRecords, MessageIcon::Information);
        emit csvWritten(false);
        return;
    }
    // The rows as the grid holds them (GBK bytes), one per line; the rest is done in the
    // background.
    QByteArray rows;
    for (int r = 1; r <= records; ++r) {
        m_grid.appendCellBytes(r, 1, SpecimenRecord::kFieldCount, rows);
        rows += '\n';
    }
    m_progress = new QProgressDialog(kExporting, QString(), 0, 0, m_view->window());
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(300);
    runInBackground<QString>(
        this,
        [path, rows] {
            QString error;
            writeFileAtomically(
                path,
                [&rows](const ByteWriter& write) {
                    QByteArray out(csv::kByteOrderMark);
                    csv::appendRow(out, recordColumns());
                    bool ok = true;
                    forEachLine(rows, [&](QByteArrayView line) {
                        if (!ok) return;
                        csv::appendRow(out, splitRecordLine(gbk::decode(line)));
                        if (out.size() < (1 << 20)) return;
                        ok = write(out);
                        out.truncate(0);
                    });
                    return ok && write(out);
                },
                &error);
            return error;
        },
        [this, path, records](QString error) { finishCsv(path, records, error); });
}

void RecordExport::finishCsv(const QString& path, int records, const QString& error) {
    delete m_progress;
    m_progress = nullptr;
    if (!error.isEmpty())
        m_messages.show(kTitleError, kExportFailed.arg(error), MessageIcon::Warning);
    else
        m_messages.show(kTitle, kExported.arg(records).arg(QDir::toNativeSeparators(path)),
                        MessageIcon::Information);
    emit csvWritten(error.isEmpty());
}

bool RecordExport::exportPdf(const QString& path) {
    const int records = recordCount();
    if (records == 0 || records > kMaxPdfRecords) {
        m_messages.show(kTitle, records ? kTooLong.arg(records).arg(kMaxPdfRecords) : kNoRecords,
                        MessageIcon::Information);
        return false;
    }
    ReportTable table{kListTitle, QString(), recordColumns(), {{}}};
    QByteArray bytes;
    for (int r = 1; r <= records; ++r) {
        bytes.truncate(0);
        m_grid.appendCellBytes(r, 1, SpecimenRecord::kFieldCount, bytes);
        table.groups[0].rows << splitRecordLine(gbk::decode(bytes));
    }
    return exportPdfAndSay(table, path, QPageLayout::Landscape, m_clock, m_messages);
}
