#include "planning/weekaheadexport.h"

#include <QDir>

#include "planning/planningtexts.h"
#include "planning/weekaheadmodel.h"
#include "planning/weekaheadreport.h"
#include "platform/busycursor.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "platform/textfile.h"
#include "report/reportdialogs.h"
#include "report/reporttexts.h"

using namespace reporttexts;

WeekAheadExport::WeekAheadExport(const WeekAheadModel& model, const Clock& clock,
                                 MessageService& messages, QWidget* window)
    : m_model(model), m_clock(clock), m_messages(messages), m_window(window) {}

int WeekAheadExport::listed() const {
    int count = 0;
    for (const WeekAheadGroup& g : m_model.week().groups)
        if (g.date.isValid()) count += g.count;
    return count;
}

bool WeekAheadExport::hasRecords() {
    if (listed() > 0) return true;
    m_messages.show(kTitle, planningtexts::kNothingToExport, MessageIcon::Information);
    return false;
}

QString WeekAheadExport::fileName() const {
    return planningtexts::kListFileName.arg(m_model.week().today.toString(Qt::ISODate));
}

bool WeekAheadExport::exportCsv(const QString& path) {
    if (!hasRecords()) return false;
    QString error;
    const BusyCursor busy;
    const QByteArray bytes = weekAheadCsv(m_model.week(), m_model.fileBytes());
    if (!writeFileAtomically(path, bytes, &error)) {
        m_messages.show(kTitleError, kExportFailed.arg(error), MessageIcon::Warning);
        return false;
    }
    m_messages.show(kTitle, kExported.arg(listed()).arg(QDir::toNativeSeparators(path)),
                    MessageIcon::Information);
    return true;
}

bool WeekAheadExport::exportPdf(const QString& path) {
    if (!hasRecords()) return false;
    return exportPdfAndSay(weekAheadTestingList(m_model.week(), m_model.fileBytes()), path,
                           QPageLayout::Portrait, m_clock, m_messages);
}

void WeekAheadExport::chooseCsv() {
    if (!hasRecords()) return;
    const QString path =
        askSavePath(m_window, kExportCsv, fileName(), kCsvFilter, QStringLiteral("csv"));
    if (!path.isEmpty()) exportCsv(path);
}

void WeekAheadExport::choosePdf() {
    if (!hasRecords()) return;
    const QString path =
        askSavePath(m_window, kExportPdf, fileName(), kPdfFilter, QStringLiteral("pdf"));
    if (!path.isEmpty()) exportPdf(path);
}

void WeekAheadExport::print() {
    if (!hasRecords()) return;
    const ReportTable list = weekAheadTestingList(m_model.week(), m_model.fileBytes());
    if (!printWithDialog(list, QPageLayout::Portrait, printTime(m_clock), m_window))
        m_messages.show(kTitleError, kPrintFailed, MessageIcon::Warning);
}
