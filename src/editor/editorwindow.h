#pragma once
// The record editor (objectName Form2): one entry field per record field on the left, every record
// of a.bz in its own grid Grid1 on the right. "?" (Command3) computes the due time, 添加 (Command1)
// appends the record to the grid and saves the whole grid to a.bz, 关闭 (Command2) and Esc hide the
// window and keep what was typed. The window's close button closes it for good. Enter presses the
// focused button; in an entry field it presses "?" while the due time is empty, else 添加.
//
// No record is ever lost by an add: the lines of a.bz that the grid cannot hold are written back
// as they were, the grid is read afresh each time the editor is opened, a field that the file
// cannot store is refused, and a failed save leaves both a.bz and the grid as they were.

#include <QDialog>
#include <QList>
#include <memory>
#include <optional>

#include "platform/apppaths.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"

class CastingDateEdit;
class Clock;
class MessageService;
class QComboBox;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class RecordFileLoad;
class RecordGridModel;
class RecordGridView;

class EditorWindow : public QDialog {
    Q_OBJECT
  public:
    EditorWindow(AppPaths paths, const Clock& clock, MessageService& messages,
                 QWidget* parent = nullptr);
    ~EditorWindow() override;

    // A data file at least this long is read in the background, with a progress bar.
    static constexpr qint64 kBackgroundLoadBytes = qint64(4) << 20;

    // Reads every record of a.bz into the grid afresh; the entry fields keep what they hold. The
    // grid keeps what it shows until the whole file has been read.
    void reloadRecords();
    // Whether a.bz is being read; 添加 waits for it.
    bool recordsLoading() const { return m_pendingLoad != nullptr; }

    RecordGrid& grid() { return m_grid; }
    RecordGridView* gridView() const { return m_view; }

    // "?": the due time into Text7, or a message and Text7 left as it was.
    void computeDueTime();
    // 添加: the record into the grid and a.bz, or a message and nothing changed.
    void addRecord();
    // The checks and questions before 添加 saves: a casting date that names no date is refused,
    // then the due time and a record already in the file are asked about. May replace the due
    // time by the computed one. False when the record is not to be added.
    bool checkBeforeAdd();

  signals:
    // A record (its eleven fields) was added and saved to a.bz.
    void recordAdded(const QStringList& fields);
    // The window was closed through its frame and is about to be destroyed.
    void discarded();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildGrid();
    void setInitialContent(const Clock& clock);
    void orderFocus();
    QLabel* addLabel(const QString& text, QWidget* control, int leftEdge);
    QStringList recordFields() const;
    bool refuseUnstorableField();
    // The casting date, or a message naming the field and nothing.
    std::optional<QDate> castingDateOrRefuse();
    void showSaved(const QString& dueTime);
    void showLoadProgress(qint64 done, qint64 total);
    void takeLoadedRecords();

    AppPaths m_paths;
    MessageService& m_messages;
    RecordGrid m_grid;
    QList<CarriedLine> m_carried;
    LoadReport m_load;
    std::unique_ptr<RecordFileLoad> m_pendingLoad;

    QLineEdit* m_projectPart = nullptr;    // Text1
    QComboBox* m_strengthGrade = nullptr;  // Combo2
    QLineEdit* m_mixNumber = nullptr;      // Text3
    QComboBox* m_curingMethod = nullptr;   // Combo1
    QLineEdit* m_quantity = nullptr;       // Text8
    QLineEdit* m_groupCount = nullptr;     // Text9
    QLineEdit* m_castingHour = nullptr;    // Text4
    QLineEdit* m_castingMinute = nullptr;  // Text5
    QLineEdit* m_curingAge = nullptr;      // Text6
    QPushButton* m_compute = nullptr;      // Command3
    QLineEdit* m_ageHours = nullptr;       // Text2
    QLineEdit* m_ageMinutes = nullptr;     // Text11
    QLineEdit* m_dueTime = nullptr;        // Text7
    QLineEdit* m_remark = nullptr;         // Text10
    QPushButton* m_add = nullptr;          // Command1
    QPushButton* m_close = nullptr;        // Command2
    RecordGridModel* m_model = nullptr;
    RecordGridView* m_view = nullptr;  // Grid1
    QProgressBar* m_progress = nullptr;

    CastingDateEdit* m_castingDate = nullptr;  // DTPicker1
    QLabel* m_saved = nullptr;                 // the status line: the last saved record's due time
};
