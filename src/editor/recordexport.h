#pragma once
// The editor's grid taken away: 导出 CSV… and 导出 PDF… in the grid's context menu (a right click
// on the records). Every record the grid shows goes out, in its order, under the grid's headings:
// CSV for spreadsheets, PDF on landscape A4 with the print time and page numbers. The CSV of a
// long grid is made on a thread of its own; the PDF is meant for lists that are read on paper and
// is refused, with a word about CSV, for more than kMaxPdfRecords records.

#include <QObject>
#include <QString>

class Clock;
class MessageService;
class QProgressDialog;
class RecordGrid;
class QWidget;

class RecordExport : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxPdfRecords = 10000;

    // The commands go into the context menu of the window's grid view.
    RecordExport(RecordGrid& grid, QWidget* gridView, const Clock& clock, MessageService& messages);

    // Write the records to the path. The CSV is written in the background: csvWritten follows.
    void exportCsv(const QString& path);
    bool exportPdf(const QString& path);
    bool isExporting() const { return m_progress != nullptr; }

  signals:
    void csvWritten(bool ok);

  private:
    int recordCount() const;
    void finishCsv(const QString& path, int records, const QString& error);

    RecordGrid& m_grid;
    QWidget* m_view;
    const Clock& m_clock;
    MessageService& m_messages;
    QProgressDialog* m_progress = nullptr;
};
