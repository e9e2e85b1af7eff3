#pragma once
// The search window (Form3, 查找数据): every cell of the main grid whose whole text equals the
// typed text turns red, every other cell goes back to the grid's default text colour.

#include <QDialog>

class QLineEdit;
class MessageService;
class RecordGrid;

class SearchWindow : public QDialog {
    Q_OBJECT
  public:
    SearchWindow(RecordGrid& grid, MessageService& messages, QWidget* parent);

    QLineEdit* searchField() const { return m_text; }
    // 搜索: colours the matches, then says that the search is over.
    void search();

  private:
    RecordGrid& m_grid;
    MessageService& m_messages;
    QLineEdit* m_text;
};

// Opens the search window modally from 查找数据, creating it on first use; its close control
// discards it, so the next use starts with an empty text.
void installSearchCommand(class MainWindow& window);
