#include "mainwindow/searchwindow.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

#include "mainwindow/mainwindow.h"
#include "mainwindow/recordfilesearch.h"
#include "mainwindow/recordsearchmodel.h"
#include "mainwindow/searchtexts.h"
#include "planning/backgroundtask.h"
#include "platform/messageservice.h"
#include "platform/twips.h"
#include "records/recordgrid.h"

using namespace searchtexts;

namespace {

// A match in a fired row: red on white, where the row's highlight would swallow the red.
constexpr quint32 kWhite = 0x00FFFFFF;

// The window with the search row and the scope row, in twips.
constexpr int kTopWidthTwips = 4860;
constexpr int kTopHeightTwips = 1110;
// Its least size while it lists records of a.bz, in pixels.
constexpr QSize kResultsSize(900, 520);

}  // namespace

SearchWindow::SearchWindow(RecordGrid& grid, QString dataFilePath, MessageService& messages,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_grid(grid),
      m_dataFilePath(std::move(dataFilePath)),
      m_messages(messages) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(kCaption);

    m_top = new QWidget(this);
    m_top->setFixedSize(twips::toPixels(kTopWidthTwips), twips::toPixels(kTopHeightTwips));
    auto* label = new QLabel(kLabel, m_top);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(twips::rect(240, 240, 2295, 255));
    m_text = new QLineEdit(m_top);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setGeometry(twips::rect(2520, 120, 1335, 375));
    m_text->setAccessibleName(label->text());
    label->setBuddy(m_text);
    auto* button = new QPushButton(kSearch, m_top);
    button->setObjectName(QStringLiteral("Command1"));
    button->setGeometry(twips::rect(3960, 120, 855, 375));
    button->setDefault(true);  // Enter in the text field searches
    connect(button, &QPushButton::clicked, this, &SearchWindow::search);

    auto* scope = new QLabel(kScope, m_top);
    scope->setGeometry(twips::rect(240, 690, 900, 255));
    m_today = new QRadioButton(kTodayScope, m_top);
    m_today->setObjectName(QStringLiteral("todayScope"));
    m_today->setGeometry(twips::rect(1140, 630, 1500, 375));
    m_today->setChecked(true);
    m_file = new QRadioButton(kFileScope, m_top);
    m_file->setObjectName(QStringLiteral("fileScope"));
    m_file->setGeometry(twips::rect(2760, 630, 1500, 375));
    connect(m_file, &QRadioButton::toggled, this, &SearchWindow::showScope);

    // The records of a.bz found, under a line that says how the search went.
    m_results = new QWidget(this);
    m_bar = new QProgressBar(m_results);
    m_bar->setRange(0, 1000);
    m_bar->setMaximumWidth(200);
    m_status = new QLabel(m_results);
    m_status->setTextFormat(Qt::PlainText);
    m_stop = new QPushButton(kStop, m_results);
    connect(m_stop, &QPushButton::clicked, this, &SearchWindow::stopFileSearch);
    m_model = new RecordSearchModel(this);
    m_view = new QTableView(m_results);
    m_view->setModel(m_model);
    m_view->setAccessibleName(kResults);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->setVisible(false);
    // Fixed row heights keep a million rows cheap to lay out and to scroll.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(m_bar);
    statusRow->addWidget(m_status, 1);
    statusRow->addWidget(m_stop);
    auto* resultsLayout = new QVBoxLayout(m_results);
    resultsLayout->addLayout(statusRow);
    resultsLayout->addWidget(m_view);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_top);
    layout->addWidget(m_results, 1);

    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, [this] {
        if (m_progress && m_progress->total > 0)
            m_bar->setValue(int(m_progress->done * 1000 / m_progress->total));
    });
    showScope();
}

SearchWindow::~SearchWindow() {
    if (m_progress) m_progress->stop = true;
}

void SearchWindow::showScope() {
    const bool file = m_file->isChecked();
    m_results->setVisible(file);
    if (!file) {
        setFixedSize(m_top->size());
        return;
    }
    setMinimumSize(m_top->width(), 300);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(qMax(width(), kResultsSize.width()), qMax(height(), kResultsSize.height()));
    m_bar->setVisible(isSearching());
    m_stop->setVisible(isSearching());
}

void SearchWindow::search() {
    if (m_file->isChecked())
        searchFile();
    else
        searchToday();
}

void SearchWindow::searchToday() {
    const QString wanted = m_text->text();
    int matches = 0;
    // Every cell, the headings and the numbers included: an exact match is a match too.
    for (int r = 0; r < m_grid.rows(); ++r) {
        for (int c = 0; c < m_grid.cols(); ++c) {
            const bool match =
                !wanted.isEmpty() && m_grid.textMatrix(r, c).contains(wanted, Qt::CaseInsensitive);
            matches += match ? 1 : 0;
            m_grid.setRow(r);
            m_grid.setCol(c);
            // A fired row keeps its colours (yellow on the highlight) where nothing matches.
            const quint32 back = m_grid.cellBackColor(r, c);
            if (back == RecordGrid::kHighlight || back == kWhite) {
                m_grid.setCellForeColor(match ? RecordGrid::kRed : RecordGrid::kYellow);
                m_grid.setCellBackColor(match ? kWhite : RecordGrid::kHighlight);
            } else {
                m_grid.setCellForeColor(match ? RecordGrid::kRed : RecordGrid::kDefaultColour);
            }
        }
    }
    m_messages.show(kTitleNote, kDone.arg(matches), MessageIcon::Information);
}

void SearchWindow::searchFile() {
    stopFileSearch();
    const QString text = m_text->text();
    m_model->reset({}, text);
    if (!RecordTextMatcher(text).canMatch()) {
        m_status->setText(kCannotMatch);
        emit fileSearchShown();
        return;
    }
    auto progress = std::make_shared<RecordSearchProgress>();
    m_progress = progress;
    m_status->setText(kSearching);
    m_bar->setValue(0);
    m_bar->show();
    m_stop->show();
    m_progressTimer->start();
    const QString path = m_dataFilePath;
    runInBackground<RecordSearchResult>(
        this, [path, text, progress] { return searchRecordFile(path, text, progress.get()); },
        [this, text, progress](RecordSearchResult result) {
            // A search that a newer one replaced is dropped.
            if (progress != m_progress) return;
            showFileResult(result, text);
        });
}

void SearchWindow::stopFileSearch() {
    if (m_progress) m_progress->stop = true;
}

void SearchWindow::showFileResult(const RecordSearchResult& result, const QString& text) {
    m_progress.reset();
    m_progressTimer->stop();
    m_bar->hide();
    m_stop->hide();
    if (result.status == FileStatus::Missing)
        m_status->setText(kNoFile);
    else if (result.status == FileStatus::Unreadable)
        m_status->setText(kUnreadable.arg(result.error));
    else if (result.stopped)
        m_status->setText(kStopped.arg(result.lines).arg(result.hits.size()));
    else
        m_status->setText(kFound.arg(result.hits.size()).arg(result.lines));
    m_model->reset(result, text);
    m_view->resizeColumnsToContents();
    emit fileSearchShown();
}

void SearchWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    stopFileSearch();
}

void installSearchCommand(MainWindow& window) {
    QObject::connect(
        window.action(QStringLiteral("find")), &QAction::triggered, &window, [&window] {
            auto* search = window.findChild<SearchWindow*>(QString(), Qt::FindDirectChildrenOnly);
            if (!search) {
                search = new SearchWindow(window.grid(), window.paths().dataFilePath(),
                                          window.messages(), &window);
                search->setAttribute(Qt::WA_DeleteOnClose);
            }
            search->exec();
        });
}
