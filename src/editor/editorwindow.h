#pragma once
// The record editor (objectName Form2): one entry field per record field on the left, every record
// of a.bz in its own grid Grid1 on the right. "?" (Command3) computes the due time, 添加 (Command1)
// appends the record (one per age when more ages are ticked) to a.bz and the grid, 关闭 (Command2)
// and Esc hide the window and keep what was typed. The window's close button closes it for good.
// Under the grid, 修改 (Command4, or a double click on a row) loads a record into the fields for
// 保存修改 (Command7) or 取消修改 (Command8), 删除记录 (Command5) removes the selected records and
// 撤销 (Command6, Ctrl+Z) undoes the last add, change or deletion since the editor was opened.
// Enter presses the focused button; in an entry field it presses "?" while the due time is empty,
// else 添加, or 保存修改 while a record is being changed.
//
// No record is ever lost: every change rewrites only its own lines of a.bz under the data file's
// lock, never over a file another program changed meanwhile (see RecordChanger), a field that the
// file cannot store is refused, and a failed write leaves both a.bz and the grid as they were.

#include <QDialog>
#include <QList>
#include <memory>
#include <optional>

#include "platform/apppaths.h"
#include "records/datafileguard.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"

class CastingDateEdit;
class Clock;
class AgeTicks;
class QUndoStack;
class RecordAdding;
class RecordChanger;
class RecordEditing;
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

    const LoadReport& loadReport() const { return m_load; }
    RecordChanger& changer() { return *m_changer; }
    RecordEditing& editing() { return *m_editing; }
    QUndoStack& undoStack() { return *m_undo; }
    MessageService& messages() { return m_messages; }
    const Clock& clock() const { return m_clock; }

    // The record the entry fields make up (eleven fields, the due mark empty).
    QStringList recordFields() const;
    // Fills the entry fields from a record's fields.
    void showRecord(const QStringList& fields);
    // A field that a.bz cannot store: a message naming it, the focus on it, and true.
    bool refuseUnstorableField();
    // The casting date, or a message naming the field and nothing.
    std::optional<QDate> castingDateOrRefuse();
    // The casting time, the age and the due time the fields hold.
    QString castingHour() const;
    QString castingMinute() const;
    QString ageHours() const;
    QString ageMinutes() const;
    QString curingAge() const;
    QString dueTime() const;
    void setDueTime(const QString& text);
    // The ages ticked beside 龄期 (the free one included when it holds a whole number).
    QList<int> tickedAges() const;
    // The status line between the buttons.
    void showStatus(const QString& text);
    // 添加, its status line, the note and the ticks; hidden while a record is being changed.
    void showAdding(bool adding);

  signals:
    // A record (its eleven fields) was added and saved to a.bz.
    void recordAdded(const QStringList& fields);
    // Records of a.bz were changed, removed or put back (see RecordChanger).
    void recordsChanged(const QList<QStringList>& before, const QList<QStringList>& after);
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
    void buildAgeTicks();
    QLabel* addLabel(const QString& text, QWidget* control, int leftEdge);
    void loadRecords(bool newHistory);
    void showLoadProgress(qint64 done, qint64 total);
    void takeLoadedRecords();

    AppPaths m_paths;
    const Clock& m_clock;
    MessageService& m_messages;
    RecordGrid m_grid;
    LoadReport m_load;
    std::unique_ptr<RecordFileLoad> m_pendingLoad;
    FileStamp m_pendingStamp;
    bool m_pendingNewHistory = true;
    RecordChanger* m_changer = nullptr;
    QUndoStack* m_undo = nullptr;
    RecordAdding* m_adding = nullptr;
    RecordEditing* m_editing = nullptr;

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
    AgeTicks* m_ticks = nullptr;
    QLabel* m_note = nullptr;  // Label13
    RecordGridModel* m_model = nullptr;
    RecordGridView* m_view = nullptr;  // Grid1
    QProgressBar* m_progress = nullptr;

    CastingDateEdit* m_castingDate = nullptr;  // DTPicker1
    QLabel* m_saved = nullptr;                 // the status line: the last saved record's due time
};
