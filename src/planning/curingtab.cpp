#include "planning/curingtab.h"

#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

#include "planning/curingchart.h"
#include "planning/planningtexts.h"
#include "planning/sameconditionmodel.h"
#include "planning/temperaturelogmodel.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "platform/textfile.h"

using namespace planningtexts;

namespace {

constexpr QAbstractItemView::EditTriggers kLogEditTriggers = QAbstractItemView::DoubleClicked |
                                                             QAbstractItemView::EditKeyPressed |
                                                             QAbstractItemView::AnyKeyPressed;

QTableView* makeTable(QAbstractItemModel* model, const QString& name, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setAccessibleName(name);
    view->setWordWrap(false);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

QPushButton* makeButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(true);  // Enter presses the focused button
    return button;
}

}  // namespace

CuringTab::CuringTab(QString logPath, const Clock& clock, MessageService& messages, QWidget* parent)
    : QWidget(parent), m_logPath(std::move(logPath)), m_clock(clock), m_messages(messages) {
    m_log = new TemperatureLogModel(this);
    m_records = new SameConditionModel(this);

    auto* logBox = new QGroupBox(kLogTitle, this);
    auto* logLayout = new QVBoxLayout(logBox);
    buildLogControls(logLayout);

    m_recordView = makeTable(m_records, kRecordTable, this);
    m_recordView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_recordView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_chart = new CuringChart(this);
    m_update = makeButton(kUpdate, this);
    m_update->setObjectName(QStringLiteral("updateDueTimes"));

    auto* right = new QVBoxLayout;
    right->addWidget(m_recordView, 1);
    right->addWidget(m_chart, 1);
    auto* updateRow = new QHBoxLayout;
    updateRow->addStretch();
    updateRow->addWidget(m_update);
    right->addLayout(updateRow);

    auto* layout = new QHBoxLayout(this);
    logBox->setFixedWidth(logBox->sizeHint().width());
    layout->addWidget(logBox);
    layout->addLayout(right, 1);

    connect(m_update, &QPushButton::clicked, this, &CuringTab::updateRequested);
    connect(m_recordView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CuringTab::showCurve);
    connect(m_log, &TemperatureLogModel::logChanged, this, [this] {
        saveLog();
        reproject();
    });
    connect(m_log, &TemperatureLogModel::temperatureRejected, this,
            [this] { m_messages.show(kTitle, kBadTemperature, MessageIcon::Warning); });
}

void CuringTab::buildLogControls(QVBoxLayout* layout) {
    QWidget* box = layout->parentWidget();
    m_logView = makeTable(m_log, kLogTable, box);
    m_logView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(m_logView);

    auto* dateLabel = new QLabel(kLogDate, box);
    m_date = new QDateEdit(box);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    m_date->setDate(m_clock.now().date().addDays(-1));  // the day most often logged
    m_date->setAccessibleName(kLogDate);
    dateLabel->setBuddy(m_date);
    auto* temperatureLabel = new QLabel(kLogTemperature, box);
    m_temperature = new QLineEdit(box);
    m_temperature->setAccessibleName(kLogTemperature);
    temperatureLabel->setBuddy(m_temperature);
    auto* entry = new QGridLayout;
    entry->addWidget(dateLabel, 0, 0);
    entry->addWidget(m_date, 0, 1);
    entry->addWidget(temperatureLabel, 1, 0);
    entry->addWidget(m_temperature, 1, 1);
    layout->addLayout(entry);

    m_add = makeButton(kAddDay, box);
    m_remove = makeButton(kRemoveDays, box);
    m_import = makeButton(kImport, box);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addWidget(m_import);
    layout->addLayout(buttons);

    m_logNote = new QLabel(box);
    m_logNote->setWordWrap(true);
    m_logNote->setTextFormat(Qt::PlainText);
    m_logNote->setStyleSheet(QStringLiteral("color: #b35c00"));
    layout->addWidget(m_logNote);

    connect(m_add, &QPushButton::clicked, this, &CuringTab::addDay);
    connect(m_temperature, &QLineEdit::returnPressed, this, &CuringTab::addDay);
    connect(m_remove, &QPushButton::clicked, this, &CuringTab::removeSelectedDays);
    auto* removeKey = new QShortcut(QKeySequence::Delete, m_logView, nullptr, nullptr,
                                    Qt::WidgetWithChildrenShortcut);
    connect(removeKey, &QShortcut::activated, this, &CuringTab::removeSelectedDays);
    connect(m_import, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, kImport, QString(), kImportFilter);
        if (!path.isEmpty()) importFile(path);
    });
}

void CuringTab::reloadLog() {
    if (m_logUnsaved) return;
    const FileContent file = readWholeFile(m_logPath);
    m_logReadable = file.status != FileStatus::Unreadable;
    m_logError = file.error;
    m_log->setLog(TemperatureLog::fromBytes(file.bytes));
    showLogState();
    reproject();
}

void CuringTab::showLogState() {
    // An unreadable qw.csv is never overwritten: the log cannot be changed until it can be read.
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_date, m_temperature, m_add, m_remove, m_import})
        w->setEnabled(m_logReadable);
    m_logView->setEditTriggers(m_logReadable ? kLogEditTriggers
                                             : QAbstractItemView::NoEditTriggers);
    const int unreadable = m_log->log().unreadableCount();
    QString note;
    if (!m_logReadable)
        note = kLogUnreadable.arg(m_logError);
    else if (unreadable > 0)
        note = kUnreadableLines.arg(unreadable);
    m_logNote->setText(note);
    m_logNote->setVisible(!note.isEmpty());
}

void CuringTab::setRecords(QList<SameConditionRecord> records) {
    m_records->setRecords(std::move(records));
    reproject();
}

void CuringTab::reproject() {
    // The record shown in the chart stays selected when the list is worked out again.
    const QModelIndex current = m_recordView->currentIndex();
    const qsizetype line = current.isValid() ? m_records->recordAt(current.row()).line.start : -1;
    m_records->project(m_log->log(), m_clock.now());
    m_recordView->resizeColumnsToContents();
    const int row = line < 0 ? -1 : m_records->rowOfLine(line);
    if (row >= 0)
        m_recordView->selectRow(row);
    else
        showCurve(QModelIndex());
}

void CuringTab::showCurve(const QModelIndex& current) {
    if (!current.isValid()) {
        m_chart->clear(kChartHint);
        return;
    }
    const SameConditionRecord& record = m_records->recordAt(current.row());
    const QString part = record.field(0);
    const Projection& projection = m_records->projectionAt(current.row());
    const int today = record.casting ? int(record.casting->date.daysTo(m_clock.now().date())) : 0;
    const QList<CuringDay> curve =
        record.casting ? curingCurve(m_records->temperatures(), *record.casting, today)
                       : QList<CuringDay>();
    if (curve.isEmpty()) {
        m_chart->clear(kChartNoCurve.arg(part));
        return;
    }
    m_chart->setCurve(kChartCaption.arg(part, record.field(2), record.field(3)), curve,
                      projection.isDue() ? projection.age : 0, today);
}

void CuringTab::setUpdateEnabled(bool enabled) {
    m_update->setEnabled(enabled);
}

void CuringTab::addDay() {
    if (!m_logReadable) return;
    const auto tenths = TemperatureLog::parseTenths(m_temperature->text().trimmed());
    if (!tenths) {
        m_messages.show(kTitle, kBadTemperature, MessageIcon::Warning);
        return;
    }
    m_log->setDay(m_date->date(), *tenths);
    m_logView->selectRow(m_log->rowOf(m_date->date()));
    m_temperature->clear();
    // The next day is the one most likely to be typed next.
    m_date->setDate(m_date->date().addDays(1));
}

void CuringTab::removeSelectedDays() {
    if (!m_logReadable) return;
    QList<QDate> dates;
    for (const QModelIndex& i : m_logView->selectionModel()->selectedRows())
        dates << m_log->dateAt(i.row());
    if (dates.isEmpty() || !m_messages.ask(kTitle, kAskRemoveDays.arg(dates.size()))) return;
    m_log->removeDays(dates);
}

void CuringTab::importFile(const QString& path) {
    if (!m_logReadable) return;
    const FileContent file = readWholeFile(path);
    if (file.status != FileStatus::Ok) {
        const QString why = file.status == FileStatus::Missing ? kFileMissing : file.error;
        m_messages.show(kTitleError, kImportUnreadable.arg(why), MessageIcon::Warning);
        return;
    }
    const TemperatureLog::ImportReport report = m_log->import(file.bytes);
    QString text = kImported.arg(report.taken).arg(report.skippedLines.size());
    if (!report.skippedLines.isEmpty()) {
        QStringList numbers;
        for (int n : report.skippedLines.mid(0, kListedSkips)) numbers << QString::number(n);
        text += kSkippedLines.arg(numbers.join(QStringLiteral("、")));
        if (report.skippedLines.size() > kListedSkips) text += kMoreSkipped;
    }
    m_messages.show(kTitle, text, MessageIcon::Information);
}

void CuringTab::saveLog() {
    QString error;
    m_logUnsaved = !writeFileAtomically(m_logPath, m_log->log().toBytes(), &error);
    if (m_logUnsaved)
        m_messages.show(kTitleError, kLogSaveFailed.arg(error), MessageIcon::Critical);
    showLogState();
}
