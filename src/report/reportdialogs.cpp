#include "report/reportdialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

#include "platform/busycursor.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "report/reportdocument.h"
#include "report/reporttexts.h"

using namespace reporttexts;

QString printTime(const Clock& clock) {
    return clock.now().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

bool exportPdfAndSay(const ReportTable& table, const QString& path,
                     QPageLayout::Orientation orientation, const Clock& clock,
                     MessageService& messages) {
    QString error;
    int pages = 0;
    bool written = false;
    {
        const BusyCursor busy;
        written = writeReportPdf(table, path, orientation, printTime(clock), &error, &pages);
    }
    if (!written) {
        messages.show(kTitleError, kExportFailed.arg(error), MessageIcon::Warning);
        return false;
    }
    messages.show(kTitle,
                  kExportedPdf.arg(table.rowCount()).arg(pages).arg(QDir::toNativeSeparators(path)),
                  MessageIcon::Information);
    return true;
}

QString askSavePath(QWidget* parent, const QString& title, const QString& fileName,
                    const QString& filter, const QString& suffix) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = QFileDialog::getSaveFileName(
        parent, title, QDir(folder).filePath(fileName + QLatin1Char('.') + suffix), filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + suffix;
    return path;
}

bool printWithDialog(const ReportTable& table, QPageLayout::Orientation orientation,
                     const QString& printedAt, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(table.title);
    setReportPageLayout(printer, orientation);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return true;
    return paintReport(table, printer, printedAt) > 0;
}
