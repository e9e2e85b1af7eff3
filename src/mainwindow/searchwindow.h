#pragma once
// The search window (Form3, 查找数据). 今日列表: every record cell of the main grid that contains
// the typed text (letters in either case) turns red, every other one goes back to its colour, and
// the end message says how many matched. An empty text matches nothing. In a fired row a match
// shows red on white, the other cells keep the row's fired colours. 全部记录: the records of a.bz
// that hold the text are listed below with their line numbers and due times, found on a thread of
// its own with a progress bar, so that a file of a million lines never freezes the window; a new
// search, 停止 or closing the window stops the one running. Enter searches, Esc closes the window.

#include <QDialog>
#include <memory>

class MessageService;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;
class QTimer;
class RecordGrid;
class RecordSearchModel;
struct RecordSearchProgress;
struct RecordSearchResult;

class SearchWindow : public QDialog {
    Q_OBJECT
  public:
    SearchWindow(RecordGrid& grid, QString dataFilePath, MessageService& messages, QWidget* parent);
    ~SearchWindow() override;

    QLineEdit* searchField() const { return m_text; }
    QRadioButton* todayScope() const { return m_today; }
    QRadioButton* fileScope() const { return m_file; }
    RecordSearchModel* resultModel() const { return m_model; }
    QLabel* resultLine() const { return m_status; }
    bool isSearching() const { return m_progress != nullptr; }

    // 搜索, in the scope chosen.
    void search();
    // 停止: the search of a.bz ends where it is; what it found so far is shown.
    void stopFileSearch();

  signals:
    // A search of a.bz has been shown (found, stopped or failed).
    void fileSearchShown();

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    void searchToday();
    void searchFile();
    void showScope();
    void showFileResult(const RecordSearchResult& result, const QString& text);

    RecordGrid& m_grid;
    QString m_dataFilePath;
    MessageService& m_messages;
    QLineEdit* m_text = nullptr;
    QRadioButton* m_today = nullptr;
    QRadioButton* m_file = nullptr;
    QWidget* m_top = nullptr;
    QWidget* m_results = nullptr;
    QTableView* m_view = nullptr;
    RecordSearchModel* m_model = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_stop = nullptr;
    QTimer* m_progressTimer = nullptr;
    std::shared_ptr<RecordSearchProgress> m_progress;  // of the search running
};

// Opens the search window modally from 查找数据, creating it on first use; its close control
// discards it, so the next use starts with an empty text.
void installSearchCommand(class MainWindow& window);
