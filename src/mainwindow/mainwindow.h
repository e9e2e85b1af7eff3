#pragma once
// The main window (objectName Form1): today's records in the grid Grid1, the menu bar, the clock
// caption (Timer2) and the due-scan timer Timer1. It is the start-up window and lives for the
// whole run; closing it or choosing 退出 ends the program.

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

#include "platform/apppaths.h"
#include "records/recordgrid.h"

class Clock;
class MessageService;
class QAction;
class QMenu;
class QTimer;
class RecordFileLoad;
class RecordGridModel;
class RecordGridView;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kDefaultScanIntervalMs = 5000;

    MainWindow(AppPaths paths, const Clock& clock, MessageService& messages,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the window at once, lays out the grid and reads today's records on a thread of its
    // own; once they are in, starts the scan when records are due today. Called once, right after
    // construction.
    void startUp();
    // Whether the start-up's read of today's list is still going on.
    bool todayListLoading() const { return m_startUpLoad != nullptr; }
    // Waits for that read and takes its list (tests, and a record added meanwhile).
    void waitForTodayList();

    RecordGrid& grid() { return m_grid; }
    RecordGridView* gridView() const { return m_view; }
    QTimer* scanTimer() const { return m_scanTimer; }
    QAction* action(const QString& objectName) const;
    QMenu* mainMenu() const { return m_mainMenu; }
    const AppPaths& paths() const { return m_paths; }
    const Clock& clock() const { return m_clock; }
    MessageService& messages() { return m_messages; }

    // The scan interval setting: the text that start-up and 开启提醒 read ("5000" unless a
    // provider says otherwise).
    QString scanIntervalText() const;
    void setScanIntervalProvider(std::function<QString()> provider);
    // Sets Timer1's interval; 0 stops the scan.
    void setScanInterval(qint64 milliseconds);
    // 停止提醒 enabled while the scan runs, 开启提醒 while it does not.
    void showScanSwitch(bool running);
    // The settings window has kept new settings.
    void noteSettingsChanged() { emit settingsChanged(); }

    // Whether a tray icon is shown; only then does minimising hide the window.
    void setTrayIconShown(std::function<bool()> shown) { m_trayShown = std::move(shown); }

    // Work to do before the program ends (releasing reminder slots, removing the tray icon).
    void addExitStep(std::function<void()> step) { m_exitSteps.push_back(std::move(step)); }
    // Asked before the program ends by 退出 or the close box; one that answers false keeps the
    // program running.
    void addExitCheck(std::function<bool()> check) { m_exitChecks.push_back(std::move(check)); }

    // 读取数据: reloads today's records.
    void reloadRecords();
    // Starts the scan as start-up does when records are due today, the scan is stopped and the
    // user has not stopped it with 停止提醒.
    void startScanIfDue();
    void setScanStoppedByUser(bool stopped) { m_scanStoppedByUser = stopped; }
    bool scanStoppedByUser() const { return m_scanStoppedByUser; }
    // 退出 and closing the window.
    void exitProgram();
    // Whether the exit under way (its checks asking) comes from the window's close box.
    bool closingByCloseBox() const { return m_closingByCloseBox; }
    // Shows the window in its normal state (also when hidden in the tray) and raises it.
    void bringToFront();

    // The editor saved a new record (its eleven fields) to a.bz.
    void noteRecordAdded(const QStringList& fields) { emit recordAdded(fields); }
    // The editor changed, removed or put back records of a.bz: before[i] became after[i], an
    // empty list standing for no record.
    void noteRecordsChanged(const QList<QStringList>& before, const QList<QStringList>& after) {
        emit recordsChanged(before, after);
    }

  signals:
    // Timer1 ticked: the due scan runs.
    void scanTick();
    // Today's list was (re)loaded from a.bz, at start-up or by 读取数据; the scan has not yet
    // been started for it.
    void todayListLoaded();
    // A record was added to a.bz in the editor.
    void recordAdded(const QStringList& fields);
    // Records of a.bz were changed in the editor (see noteRecordsChanged).
    void recordsChanged(const QList<QStringList>& before, const QList<QStringList>& after);
    // Timer1 was started, stopped or given another interval.
    void scanStateChanged();
    // The settings window kept new settings (mirosta.ini).
    void settingsChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void layoutGrid();
    void updateClockCaption();
    // What follows every load of today's list: problems reported, todayListLoaded, the scan.
    void todayListDone(const struct LoadReport& report);
    void startUpLoaded();

    AppPaths m_paths;
    const Clock& m_clock;
    MessageService& m_messages;
    RecordGrid m_grid;
    RecordGridModel* m_model = nullptr;
    RecordGridView* m_view = nullptr;
    RecordFileLoad* m_startUpLoad = nullptr;
    QTimer* m_scanTimer = nullptr;
    QTimer* m_clockTimer = nullptr;
    QMenu* m_mainMenu = nullptr;
    std::function<QString()> m_intervalProvider;
    std::function<bool()> m_trayShown;
    std::vector<std::function<void()>> m_exitSteps;
    std::vector<std::function<bool()>> m_exitChecks;
    bool m_exiting = false;
    bool m_checkingExit = false;
    bool m_closingByCloseBox = false;
    bool m_scanStoppedByUser = false;
};
