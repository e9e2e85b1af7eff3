#pragma once
// The dialogs around taking a report away: where to save it, and which printer to print it on.

#include <QPageLayout>
#include <QString>

#include "report/reporttable.h"

class QWidget;

// A save dialog in the user's documents folder with the suggested file name; the path chosen, with
// the filter's suffix added when the name has none, or an empty text when the user cancelled.
QString askSavePath(QWidget* parent, const QString& title, const QString& fileName,
                    const QString& filter, const QString& suffix);

// The print dialog, then the report on A4 on the printer chosen. False when the printer could not
// be used; true when printed or when the user cancelled.
bool printWithDialog(const ReportTable& table, QPageLayout::Orientation orientation,
                     const QString& printedAt, QWidget* parent);
