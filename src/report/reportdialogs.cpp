#include "report/reportdialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

#include "report/reportdocument.h"

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
