#pragma once
// The dialogs around taking a report away: where to save it, and which printer to print it on.

#include <QPageLayout>
#include <QString>

#include "report/reporttable.h"

class Clock;
class MessageService;
class QWidget;

// The time a list is printed or exported at, as its pages show it.
QString printTime(const Clock& clock);

// Writes the report as an A4 PDF, then says how many records and pages went to the file, or why
// nothing was written.
bool exportPdfAndSay(const ReportTable& table, const QString& path,
                     QPageLayout::Orientation orientation, const Clock& clock,
                     MessageService& messages);

// A save dialog in the user's documents folder with the suggested file name; the path chosen, with
// the filter's suffix added when the name has none, or an empty text when the user cancelled.
QString askSavePath(QWidget* parent, const QString& title, const QString& fileName,
                    const QString& filter, const QString& suffix);

// The print dialog, then the report on A4 on the printer chosen. False when the printer could not
// be used; true when printed or when the user cancelled.
bool printWithDialog(const ReportTable& table, QPageLayout::Orientation orientation,
                     const QString& printedAt, QWidget* parent);
