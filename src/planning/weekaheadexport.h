#pragma once
// The 近期到期 tab's 导出 CSV…, 导出 PDF… and 打印…: the testing list of the days shown, grouped
// by day, on A4 with the print time and page numbers, or as CSV rows. Files are written
// atomically; a message says what was written, or why nothing was.

#include <QString>

class Clock;
class MessageService;
class QWidget;
class WeekAheadModel;

class WeekAheadExport {
  public:
    WeekAheadExport(const WeekAheadModel& model, const Clock& clock, MessageService& messages,
                    QWidget* window);

    // Write the list to the path; false (and a message) when nothing was written.
    bool exportCsv(const QString& path);
    bool exportPdf(const QString& path);
    // Ask where to write, or on which printer to print, then do it.
    void chooseCsv();
    void choosePdf();
    void print();

  private:
    // The records of the days listed, the overdue ones left out.
    int listed() const;
    bool hasRecords();
    QString fileName() const;

    const WeekAheadModel& m_model;
    const Clock& m_clock;
    MessageService& m_messages;
    QWidget* m_window;
};
