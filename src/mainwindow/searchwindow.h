#pragma once
// The search window (Form3, 查找数据): every record cell of the main grid that contains the typed
// text (letters in either case) turns red, every other one goes back to its colour, and the end
// message says how many matched. An empty text matches nothing. In a fired row a match shows red
// on white, the other cells keep the row's fired colours. Enter searches, Esc hides the window.

#include <QDialog>

class QLineEdit;
class MessageService;
class RecordGrid;

class SearchWindow : public QDialog {
    Q_OBJECT
  public:
    SearchWindow(RecordGrid& grid, MessageService& messages, QWidget* parent);

    QLineEdit* searchField() const { return m_text; }
    // 搜索: colours the matches, then says that the search is over and how many cells matched.
    void search();

  private:
    RecordGrid& m_grid;
    MessageService& m_messages;
    QLineEdit* m_text;
};

// Opens the search window modally from 查找数据, creating it on first use; its close control
// discards it, so the next use starts with an empty text.
void installSearchCommand(class MainWindow& window);
