#include "planning/planningwindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

#include "planning/backgroundtask.h"
#include "planning/curingtab.h"
#include "planning/duetimeupdate.h"
#include "planning/planningtexts.h"
#include "planning/sameconditionmodel.h"
#include "planning/sameconditionrecords.h"
#include "planning/weekahead.h"
#include "planning/weekaheadexport.h"
#include "planning/weekaheadmodel.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "platform/programfont.h"
#include "platform/textfile.h"
#include "platform/twips.h"
#include "report/reporttexts.h"

using namespace planningtexts;

// What one read of a.bz yields.
struct PlanningData {
    FileContent file;
    WeekAhead week;
    QList<SameConditionRecord> sameCondition;
};

namespace {

// Widths of the week ahead's columns in twips, as the record grids have them.
constexpr std::pair<int, int> kColumnWidths[] = {{0, 2500}, {1, 1300}, {2, 1400},
                                                 {3, 1050}, {4, 2500}, {9, 1200}};

PlanningData readPlanningData(const QString& path, const QDateTime& now, int days) {
    PlanningData data;
    data.file = readWholeFile(path);
    data.week = selectWeekAhead(data.file.bytes, now.date(), days);
    data.sameCondition = findSameConditionRecords(data.file.bytes, rawline::dueKey(now));
    return data;
}

}  // namespace

PlanningWindow::~PlanningWindow() = default;

PlanningWindow::PlanningWindow(AppPaths paths, const Clock& clock, MessageService& messages,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), m_paths(std::move(paths)), m_clock(clock), m_messages(messages) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(kCaption);
    setFont(songtiFont(12));
    resize(1000, 600);

    // The week ahead.
    auto* week = new QWidget(this);
    auto* daysLabel = new QLabel(kDays, week);
    m_days = new QSpinBox(week);
    m_days->setRange(1, kMaxDays);
    m_days->setValue(kDefaultDays);
    m_days->setAccessibleName(kDays);
    daysLabel->setBuddy(m_days);
    m_weekModel = new WeekAheadModel(this);
    QFont bold = font();
    bold.setBold(true);
    m_weekModel->setGroupFont(bold);
    m_weekView = new QTableView(week);
    m_weekView->setModel(m_weekModel);
    m_weekView->setAccessibleName(kWeekTable);
    m_weekView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_weekView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_weekView->setWordWrap(false);
    m_weekView->verticalHeader()->setVisible(false);
    // Fixed row heights keep a million overdue rows cheap to lay out and scroll.
    m_weekView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_weekView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    for (const auto& [column, twipsWide] : kColumnWidths)
        m_weekView->setColumnWidth(column, twips::toPixels(twipsWide));
    m_export = std::make_unique<WeekAheadExport>(*m_weekModel, m_clock, m_messages, this);
    auto* daysRow = new QHBoxLayout;
    daysRow->addWidget(daysLabel);
    daysRow->addWidget(m_days);
    daysRow->addWidget(new QLabel(kDaysHint, week));
    daysRow->addStretch();
    const std::pair<const QString&, void (WeekAheadExport::*)()> exports[] = {
        {reporttexts::kExportCsv, &WeekAheadExport::chooseCsv},
        {reporttexts::kExportPdf, &WeekAheadExport::choosePdf},
        {reporttexts::kPrint, &WeekAheadExport::print}};
    for (const auto& [text, command] : exports) {
        auto* button = new QPushButton(text, week);
        button->setAutoDefault(true);  // Enter presses the focused button
        connect(button, &QPushButton::clicked, this, [this, command] { ((*m_export).*command)(); });
        daysRow->addWidget(button);
    }
    auto* weekLayout = new QVBoxLayout(week);
    weekLayout->addLayout(daysRow);
    weekLayout->addWidget(m_weekView);

    m_curing = new CuringTab(m_paths.temperatureLogPath(), m_clock, m_messages, this);

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(week, kWeekTab);
    m_tabs->addTab(m_curing, kCuringTab);

    m_busyBar = new QProgressBar(this);
    m_busyBar->setRange(0, 0);
    m_busyBar->setMaximumWidth(160);
    m_busyBar->setVisible(false);
    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(m_busyBar);
    statusRow->addWidget(m_status, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(statusRow);

    connect(m_days, &QSpinBox::valueChanged, this, &PlanningWindow::readRecords);
    connect(m_curing, &CuringTab::updateRequested, this, &PlanningWindow::updateDueTimes);
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
            &PlanningWindow::refresh);
}

void PlanningWindow::keyPressEvent(QKeyEvent* event) {
    // Esc that no control took (an edited cell takes it to cancel the edit) closes the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PlanningWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void PlanningWindow::setBusy(bool busy, const QString& text) {
    m_busy = busy;
    m_busyBar->setVisible(busy);
    m_curing->setUpdateEnabled(!busy);
    m_status->setText(text);
}

void PlanningWindow::refresh() {
    m_curing->reloadLog();
    readRecords();
}

void PlanningWindow::readRecords() {
    if (m_busy) {
        m_readAgain = true;
        return;
    }
    m_readAgain = false;
    setBusy(true, kLoading);
    const QString path = m_paths.dataFilePath();
    const QDateTime now = m_clock.now();
    const int days = m_days->value();
    runInBackground<PlanningData>(
        this, [path, now, days] { return readPlanningData(path, now, days); },
        [this](PlanningData data) { showLoaded(std::move(data)); });
}

void PlanningWindow::showLoaded(PlanningData data) {
    setBusy(false, QString());
    if (m_readAgain) {
        readRecords();
        return;
    }
    m_status->setText(data.file.status == FileStatus::Unreadable
                          ? kDataUnreadable.arg(data.file.error)
                          : std::exchange(m_notice, QString()));
    m_bytes = data.file.bytes;
    m_weekModel->reset(std::move(data.week), m_bytes);
    m_weekView->clearSpans();
    for (int row : m_weekModel->groupRows())
        m_weekView->setSpan(row, 0, 1, m_weekModel->columnCount());
    m_curing->setRecords(std::move(data.sameCondition));
    emit refreshed();
}

void PlanningWindow::updateDueTimes() {
    if (m_busy) return;
    // The list as it stands at this minute: a record due by now is no longer changed.
    m_curing->reproject();
    const QList<DueTimeChange> changes = m_curing->recordModel()->changes();
    if (changes.isEmpty()) {
        m_messages.show(kTitle, kNothingToUpdate, MessageIcon::Information);
        return;
    }
    const int passed = m_curing->recordModel()->passedChanges();
    const int earlier = m_curing->recordModel()->passedBeforeToday();
    const int estimated = m_curing->recordModel()->estimatedChanges();
    QString question = kAskUpdate.arg(changes.size());
    if (estimated > 0) question += kAskEstimated.arg(estimated);
    if (passed > 0) {
        question += kAskPassed.arg(passed);
        if (passed > earlier) question += kAskPassedToday.arg(passed - earlier);
        if (earlier > 0) question += kAskPassedEarlier.arg(earlier);
        question += kAskPassedEnd;
    }
    if (!m_messages.ask(kTitle, question)) return;

    setBusy(true, kWriting);
    // Nothing else may read or write a.bz until the write is over.
    m_writing = new QProgressDialog(kWriting, QString(), 0, 0, this);
    m_writing->setWindowModality(Qt::ApplicationModal);
    m_writing->setMinimumDuration(0);
    m_writing->show();
    const QString path = m_paths.dataFilePath();
    const QByteArray expected = m_bytes;
    const int count = int(changes.size());
    const QDateTime now = m_clock.now();
    runInBackground<DueTimeWrite>(
        this,
        [path, expected, changes, now] {
            return writeDueTimeChanges(path, expected, changes, now);
        },
        [this, count](DueTimeWrite result) { finishWrite(result, count); });
}

void PlanningWindow::finishWrite(const DueTimeWrite& result, int count) {
    delete m_writing;
    m_writing = nullptr;
    setBusy(false, QString());
    if (result.ok) {
        m_notice = kUpdated.arg(count);
        emit dueTimesWritten();
    } else if (result.fileChanged) {
        m_messages.show(kTitle, kFileChanged, MessageIcon::Warning);
    } else {
        m_messages.show(kTitleError, kUpdateFailed.arg(result.error), MessageIcon::Critical);
    }
    readRecords();
}
