#pragma once
// 添加 with its refusals and questions: one record, or one per age when more ages are ticked
// beside 龄期, appended to a.bz through the editor's RecordChanger and put on its undo stack. The
// same checks stand before 保存修改.

#include <QList>
#include <QObject>
#include <QStringList>

class EditorWindow;

class RecordAdding : public QObject {
    Q_OBJECT
  public:
    explicit RecordAdding(EditorWindow& window);

    void addRecord();
    // "?": the due time into the due-time field, or a message and the field left as it was.
    void computeDueTime();

    // Whether the grid holds the whole file, so that a change can be worked out on it; else a
    // message saying why not (`loadingText` while it is being read).
    bool gridReady(const QString& loadingText);

    // The checks and questions before a record is saved, added (editedRow -1) or changed in place
    // of the row: a casting date, hour or minute that cannot be, an empty 龄期 beside a due time
    // are refused; a casting date more than a year away, a due time that is malformed, stale or
    // already past, and a record the file holds already (other than the edited one) are asked
    // about. May replace the due time by the computed one. False when nothing is to be saved.
    bool checkBeforeSave(int editedRow);

  private:
    // The records of a several-ages add after its one question, or none.
    QList<QStringList> severalAgesRecords(const QList<int>& ticked);
    void append(const QList<QStringList>& records);

    EditorWindow& m_window;
};
