#pragma once
// The 同条件养护 tab: the temperature log qw.csv as an editable table (each change is saved at
// once, atomically), and the same-condition records still to be tested with their projected
// equivalent age; the chart under them shows the curing of the record selected. The 更新到期时间
// button asks the window to write the projections into a.bz.

#include <QString>
#include <QWidget>

#include "planning/sameconditionrecords.h"

class Clock;
class CuringChart;
class MessageService;
class QModelIndex;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class SameConditionModel;
class TemperatureLogModel;

class CuringTab : public QWidget {
    Q_OBJECT
  public:
    CuringTab(QString logPath, const Clock& clock, MessageService& messages,
              QWidget* parent = nullptr);

    // Reads qw.csv afresh, unless changes to it are still waiting to be saved.
    void reloadLog();
    // The same-condition records of a.bz as last read.
    void setRecords(QList<SameConditionRecord> records);
    // Lists the records due from now on with their projections from the log as it stands.
    void reproject();

    void setUpdateEnabled(bool enabled);
    // Adds or changes a day from the date and temperature fields.
    void addDay();
    // Removes the days selected in the log table.
    void removeSelectedDays();
    // Takes the days of a CSV file and reports what was taken and skipped.
    void importFile(const QString& path);

    TemperatureLogModel* logModel() const { return m_log; }
    SameConditionModel* recordModel() const { return m_records; }
    QTableView* logView() const { return m_logView; }
    QTableView* recordView() const { return m_recordView; }
    CuringChart* chart() const { return m_chart; }

  signals:
    void updateRequested();

  private:
    void buildLogControls(class QVBoxLayout* layout);
    void saveLog();
    void showLogState();
    // The chart of the record in the row, or the hint without one.
    void showCurve(const QModelIndex& current);

    QString m_logPath;
    const Clock& m_clock;
    MessageService& m_messages;
    bool m_logReadable = true;
    bool m_logUnsaved = false;
    QString m_logError;

    TemperatureLogModel* m_log = nullptr;
    SameConditionModel* m_records = nullptr;
    QTableView* m_logView = nullptr;
    QTableView* m_recordView = nullptr;
    CuringChart* m_chart = nullptr;
    QDateEdit* m_date = nullptr;
    QLineEdit* m_temperature = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_import = nullptr;
    QLabel* m_logNote = nullptr;
    QPushButton* m_update = nullptr;
};
