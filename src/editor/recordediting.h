#pragma once
// 修改, 保存修改, 取消修改, 删除记录 and 撤销 of the editor, with their questions.
//
// 修改 (or a double click on a row) loads the row's record into the entry fields; while it is
// being changed the window says so, 添加 gives way to 保存修改 and Enter saves the change. 保存修改
// replaces the record's line of a.bz after the same checks as 添加; 取消修改 leaves the record as
// it was and gives the fields back what they held before 修改. 删除记录 removes the selected
// records after a 是/否 question naming how many. Each change goes on the undo stack, and 撤销
// (Ctrl+Z) takes the last one back. Its buttons stand below the grid (修改 Command4, 删除记录
// Command5, 撤销 Command6) and in 添加's place while a record is being changed (保存修改 Command7,
// 取消修改 Command8, with a banner over the note).

#include <QList>
#include <QObject>
#include <QStringList>

class EditorWindow;
class QLabel;
class QPushButton;

class RecordEditing : public QObject {
    Q_OBJECT
  public:
    explicit RecordEditing(EditorWindow& window);

    bool isEditing() const { return m_row > 0; }

    // 保存修改, 取消修改, 修改, 删除记录 and 撤销.
    QList<QPushButton*> buttons() const;

    // The record rows the user has selected in the grid, in rising order.
    QList<int> selectedRows() const;

    void editRow(int row);
    void editSelected();
    void saveEdit();
    void cancelEdit();
    void deleteSelected();
    void undo();

  private:
    void buildControls();
    // While a record is being changed: 添加 gives way to 保存修改 and 取消修改, and the banner says
    // which record it is. An empty text ends it.
    void showEditing(const QString& banner);
    void endEdit();

    EditorWindow& m_window;
    int m_row = 0;           // the row being changed, or 0
    QStringList m_record;    // its fields as loaded
    QStringList m_typed;     // what the fields held before 修改
    QStringList m_typedAge;  // and the age's extra hours and minutes
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_undo = nullptr;
    QLabel* m_banner = nullptr;
};
