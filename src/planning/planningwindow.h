#pragma once
// The 试验计划 window (objectName Form6). The tab 近期到期 lists the records due from today over a
// chosen number of days, grouped by date, after the overdue ones still in a.bz; the tab 同条件养护
// keeps the temperature log and projects the due time of same-condition specimens at their
// equivalent age. The window only reads a.bz, except for 更新到期时间, which rewrites the age and
// due time of the records whose projection differs and nothing else.
//
// a.bz is read and selected on a thread of its own (it may hold a million lines); the window shows
// a busy bar meanwhile. It is read afresh when the window is shown, on F5 and through refresh().

#include <QByteArray>
#include <QWidget>
#include <memory>

#include "platform/apppaths.h"

class Clock;
class CuringTab;
class MessageService;
class QLabel;
class QProgressBar;
class QProgressDialog;
class QSpinBox;
class QTabWidget;
class QTableView;
class WeekAheadExport;
class WeekAheadModel;

class PlanningWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kDefaultDays = 7;
    static constexpr int kMaxDays = 60;

    PlanningWindow(AppPaths paths, const Clock& clock, MessageService& messages,
                   QWidget* parent = nullptr);
    ~PlanningWindow() override;

    // Reads a.bz and the temperature log afresh; a request while a read is running reads again
    // once it ends.
    void refresh();
    // Reads a.bz afresh (the log as it stands).
    void readRecords();
    // 更新到期时间: asks, then writes the projected ages and due times into a.bz.
    void updateDueTimes();
    bool isBusy() const { return m_busy; }

    QTabWidget* tabs() const { return m_tabs; }
    QSpinBox* daysBox() const { return m_days; }
    WeekAheadModel* weekModel() const { return m_weekModel; }
    CuringTab* curingTab() const { return m_curing; }
    // 导出 CSV…, 导出 PDF… and 打印… of the week ahead.
    WeekAheadExport& weekExport() const { return *m_export; }

  signals:
    // A read of a.bz was shown.
    void refreshed();
    // 更新到期时间 wrote a.bz.
    void dueTimesWritten();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void setBusy(bool busy, const QString& text);
    void showLoaded(struct PlanningData data);
    void finishWrite(const struct DueTimeWrite& result, int count);

    AppPaths m_paths;
    const Clock& m_clock;
    MessageService& m_messages;
    QByteArray m_bytes;  // a.bz as last read: what the changes are worked out on
    bool m_busy = false;
    bool m_readAgain = false;
    QString m_notice;  // shown once the next read is shown

    QTabWidget* m_tabs = nullptr;
    QSpinBox* m_days = nullptr;
    QTableView* m_weekView = nullptr;
    WeekAheadModel* m_weekModel = nullptr;
    std::unique_ptr<WeekAheadExport> m_export;
    CuringTab* m_curing = nullptr;
    QProgressBar* m_busyBar = nullptr;
    QLabel* m_status = nullptr;
    QProgressDialog* m_writing = nullptr;
};
