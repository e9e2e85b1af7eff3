#include "editor/editorwindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUndoStack>

#include "editor/ageticks.h"
#include "editor/castingdateedit.h"
#include "editor/duetime.h"
#include "editor/editortexts.h"
#include "editor/inputchecks.h"
#include "editor/recordadding.h"
#include "editor/recordchanger.h"
#include "editor/recordediting.h"
#include "platform/clock.h"
#include "platform/freememory.h"
#include "platform/messageservice.h"
#include "platform/programfont.h"
#include "platform/twips.h"
#include "records/recordfileload.h"
#include "records/recordgridmodel.h"
#include "records/recordgridview.h"
#include "records/specimenrecord.h"

using namespace editortexts;

namespace {

// Client area and the grid's place, in twips. The row of ticks for more ages moves the rows below
// 龄期 down by kTickRowTwips; the grid's buttons stand below it.
constexpr int kTickRowTwips = 450;
constexpr int kClientWidthTwips = 12465;
constexpr int kClientHeightTwips = 4650 + kTickRowTwips;
constexpr int kGridLeftTwips = 5160;
constexpr int kGridHeightTwips = kClientHeightTwips - 510;

// Column widths of the grid, in twips; the other columns keep the view's default.
constexpr std::pair<int, int> kColumnWidths[] = {{1, 1300}, {2, 1400}, {3, 1050},
                                                 {4, 2500}, {6, 2500}, {10, 1200}};

QString nameOf(const QString& labelText) {
    QString name = labelText;
    if (name.endsWith(u'：')) name.chop(1);
    return name;
}

}  // namespace

EditorWindow::EditorWindow(AppPaths paths, const Clock& clock, MessageService& messages,
                           QWidget* parent)
    : QDialog(parent),
      m_paths(std::move(paths)),
      m_clock(clock),
      m_messages(messages),
      m_grid(2, recordcolumns::kEditorGridColumns) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(kCaption);
    // A fixed dialog frame with a close button only; it stands over its owner and has no taskbar
    // button (a utility window when there is no owner to stand over).
    setWindowFlags((parent ? Qt::Dialog : Qt::Tool) | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(songtiFont(9));
    setFixedSize(twips::toPixels(kClientWidthTwips), twips::toPixels(kClientHeightTwips));
    setSizeGripEnabled(false);

    m_changer = new RecordChanger(m_paths.dataFilePath(), m_grid, clock, this);
    m_undo = new QUndoStack(this);
    connect(m_changer, &RecordChanger::recordAdded, this, &EditorWindow::recordAdded);
    connect(m_changer, &RecordChanger::recordsChanged, this, &EditorWindow::recordsChanged);
    connect(m_changer, &RecordChanger::gridStale, this, [this] { loadRecords(false); });

    buildControls();
    buildAgeTicks();
    buildGrid();
    m_adding = new RecordAdding(*this);
    m_editing = new RecordEditing(*this);
    connect(m_add, &QPushButton::clicked, this, &EditorWindow::addRecord);
    for (QPushButton* b : m_editing->buttons()) b->installEventFilter(this);
    orderFocus();
    setInitialContent(clock);
}

EditorWindow::~EditorWindow() {
    m_pendingLoad.reset();  // stops the reading; nothing is saved
    // The view and the model watch m_grid, which goes before the window's children do.
    delete m_view;
    delete m_model;
}

QLabel* EditorWindow::addLabel(const QString& text, QWidget* control, int leftEdge) {
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QRect c = control->geometry();
    label->setGeometry(leftEdge, c.top(), c.left() - 2 - leftEdge, c.height());
    label->setBuddy(control);
    return label;
}

void EditorWindow::buildControls() {
    auto lineEdit = [this](const char* name, QRect geometry, const QString& accessibleName) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(geometry);
        edit->setAccessibleName(accessibleName);
        return edit;
    };
    auto comboBox = [this](const char* name, QRect geometry, const QString& accessibleName) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString::fromLatin1(name));
        combo->setEditable(true);
        // Typed text is stored exactly as typed: no completion, and Enter adds nothing to the list.
        combo->setCompleter(nullptr);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setGeometry(geometry);
        combo->setAccessibleName(accessibleName);
        return combo;
    };
    auto button = [this](const char* name, const QString& caption, QRect geometry) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(geometry);
        b->setAutoDefault(false);  // Enter in a field must not add a record
        return b;
    };

    // Row 1 to row 7 of the entry fields.
    m_projectPart = lineEdit("Text1", twips::rect(1230, 60, 1185, 375), nameOf(kProjectPart));
    m_strengthGrade = comboBox("Combo2", twips::rect(3420, 45, 1455, 300), nameOf(kStrengthGrade));
    m_mixNumber = lineEdit("Text3", twips::rect(1260, 495, 1185, 375), nameOf(kMixNumber));
    m_curingMethod = comboBox("Combo1", twips::rect(3420, 495, 1425, 300), nameOf(kCuringMethod));
    m_quantity = lineEdit("Text8", twips::rect(1260, 990, 1200, 330), nameOf(kQuantity));
    m_groupCount = lineEdit("Text9", twips::rect(3420, 945, 1335, 330), nameOf(kGroupCount));

    m_castingDate = new CastingDateEdit(this);
    m_castingDate->setObjectName(QStringLiteral("DTPicker1"));
    m_castingDate->setGeometry(twips::rect(1215, 1440, 1275, 330));
    m_castingDate->setAccessibleName(nameOf(kCastingDate));
    m_castingHour = lineEdit("Text4", twips::rect(3465, 1455, 555, 270), kCastingHourName);
    m_castingMinute = lineEdit("Text5", twips::rect(4230, 1455, 555, 270), kCastingMinuteName);

    m_curingAge = lineEdit("Text6", twips::rect(1215, 1890, 795, 375), nameOf(kCuringAge));
    m_compute = button("Command3", kCompute, twips::rect(2070, 1890, 405, 375));
    m_compute->setAccessibleName(kComputeName);
    m_ageHours = lineEdit("Text2", twips::rect(3465, 1935, 615, 270), kAgeHoursName);
    m_ageMinutes = lineEdit("Text11", twips::rect(4230, 1935, 585, 270), kAgeMinutesName);

    m_dueTime =
        lineEdit("Text7", twips::rect(1170, 2385 + kTickRowTwips, 3630, 375), nameOf(kDueTime));
    m_remark =
        lineEdit("Text10", twips::rect(1170, 2880 + kTickRowTwips, 3630, 480), nameOf(kRemark));

    // Labels: those of the left column from the window's edge, the others from the end of the
    // control before them on the same row.
    for (auto [text, control] : {std::pair<const QString&, QWidget*>{kProjectPart, m_projectPart},
                                 {kMixNumber, m_mixNumber},
                                 {kQuantity, m_quantity},
                                 {kCastingDate, m_castingDate},
                                 {kCuringAge, m_curingAge},
                                 {kDueTime, m_dueTime},
                                 {kRemark, m_remark}})
        addLabel(text, control, 2);
    addLabel(kStrengthGrade, m_strengthGrade, m_projectPart->geometry().right() + 3);
    addLabel(kCuringMethod, m_curingMethod, m_mixNumber->geometry().right() + 3);
    addLabel(kGroupCount, m_groupCount, m_quantity->geometry().right() + 3);
    addLabel(kHourMinute, m_castingHour, m_castingDate->geometry().right() + 3);
    addLabel(kHourMinute, m_ageHours, m_compute->geometry().right() + 3);

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twips::rect(60, 3570 + kTickRowTwips, 4980, 30));

    m_add = button("Command1", kAdd, twips::rect(405, 3765 + kTickRowTwips, 1095, 375));
    m_close = button("Command2", kClose, twips::rect(3825, 3765 + kTickRowTwips, 1095, 375));

    auto* note = m_note = new QLabel(kNote, this);
    note->setObjectName(QStringLiteral("Label13"));
    note->setTextFormat(Qt::PlainText);
    note->setGeometry(twips::rect(1035, 4215 + kTickRowTwips, 3075, 240));

    // Between the two buttons, on two lines if need be.
    m_saved = new QLabel(this);
    m_saved->setObjectName(QStringLiteral("LabelSaved"));
    m_saved->setAccessibleName(kStatusName);
    m_saved->setTextFormat(Qt::PlainText);
    m_saved->setWordWrap(true);
    m_saved->setAlignment(Qt::AlignCenter);
    m_saved->setGeometry(twips::rect(1530, 3705 + kTickRowTwips, 2265, 495));

    // Enter in an entry field (the boxes' fields included) and on a button: see eventFilter.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        if (edit->window() == this) edit->installEventFilter(this);
    for (QPushButton* b : findChildren<QPushButton*>()) b->installEventFilter(this);

    connect(m_compute, &QPushButton::clicked, this, &EditorWindow::computeDueTime);
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);
}

void EditorWindow::buildAgeTicks() {
    // One row below 龄期, laid out from where the fields start.
    m_ticks = new AgeTicks(m_paths.settingsPath(), this);
    m_ticks->setGeometry(twips::rect(1170, 2340, 3900, 375));
    m_ticks->layOut();
    m_ticks->otherAge()->installEventFilter(this);
    auto* label = new QLabel(kSeveralAges, this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(2, m_ticks->y(), m_ticks->x() - 4, m_ticks->height());
}

void EditorWindow::buildGrid() {
    m_model = new RecordGridModel(m_grid, this);
    m_view = new RecordGridView(m_model, this);
    m_view->setObjectName(QStringLiteral("Grid1"));
    m_view->setAccessibleName(kGridName);
    // Whole records are chosen, several at once for 删除记录.
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The grid as designed is wider than the window; it takes the window's width to the right of
    // the fields and scrolls sideways.
    const int left = twips::toPixels(kGridLeftTwips);
    m_view->setGeometry(left, 0, width() - left, twips::toPixels(kGridHeightTwips));
    m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    for (const auto& [col, twips] : kColumnWidths) m_grid.setColWidth(col, twips);
    const QStringList& headings = recordHeadings();
    for (int c = 0; c < m_grid.cols() && c < headings.size(); ++c)
        m_grid.setTextMatrix(0, c, headings.at(c));

    // Over the foot of the grid while a long file is read.
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("loadProgress"));
    m_progress->setAccessibleName(kLoadingName);
    m_progress->setFormat(kLoading);
    m_progress->setRange(0, 1000);
    const QRect grid = m_view->geometry();
    const int height = fontMetrics().height() + 10;
    m_progress->setGeometry(grid.left() + 20, grid.bottom() - 2 * height, grid.width() - 40,
                            height);
    m_progress->hide();
}

void EditorWindow::setInitialContent(const Clock& clock) {
    reloadRecords();

    const QDateTime now = clock.now();
    m_castingDate->setDate(now.date());
    m_curingMethod->addItems({kStandardCuring, kSameConditionCuring});
    m_curingMethod->setCurrentIndex(0);
    m_castingHour->setText(now.toString(QStringLiteral("hh")));
    m_castingMinute->setText(now.toString(QStringLiteral("mm")));
    for (const char* grade : kGrades) m_strengthGrade->addItem(QString::fromLatin1(grade));
    m_strengthGrade->setCurrentIndex(m_strengthGrade->findText(kDefaultGrade));
    m_ageHours->setText(QStringLiteral("0"));
    m_ageMinutes->setText(QStringLiteral("0"));
}

void EditorWindow::orderFocus() {
    QList<QWidget*> order = {m_projectPart,   m_strengthGrade, m_mixNumber,   m_curingMethod,
                             m_quantity,      m_groupCount,    m_castingDate, m_castingHour,
                             m_castingMinute, m_curingAge,     m_compute,     m_ageHours,
                             m_ageMinutes,    m_dueTime,       m_remark,      m_add};
    const QList<QPushButton*> e = m_editing->buttons();  // 保存修改, 取消修改, then the grid's
    order << e[0] << e[1] << m_close << m_view << e[2] << e[3] << e[4];
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void EditorWindow::reloadRecords() {
    loadRecords(true);
}

void EditorWindow::loadRecords(bool newHistory) {
    m_pendingLoad.reset();  // a load under way is stopped and started afresh
    const QString path = m_paths.dataFilePath();
    if (newHistory) {
        // Opened anew: 撤销 reaches back to this opening only, and nothing is being changed.
        m_undo->clear();
        if (m_editing) m_editing->cancelEdit();
    }
    m_pendingNewHistory = m_pendingNewHistory || newHistory;
    m_pendingStamp = FileStamp::of(path);  // before the reading: a write meanwhile is noticed
    m_pendingLoad = std::make_unique<RecordFileLoad>(path, m_grid.cols());
    connect(m_pendingLoad.get(), &RecordFileLoad::progress, this, &EditorWindow::showLoadProgress);
    connect(m_pendingLoad.get(), &RecordFileLoad::finished, this, &EditorWindow::takeLoadedRecords);
    if (QFileInfo(path).size() < kBackgroundLoadBytes) {
        m_pendingLoad->wait();  // a few milliseconds: no progress bar flickers by
        return;
    }
    m_progress->setValue(0);
    m_progress->show();
    m_progress->raise();
}

void EditorWindow::showLoadProgress(qint64 done, qint64 total) {
    m_progress->setValue(total > 0 ? int(done * 1000 / total) : 0);
}

void EditorWindow::takeLoadedRecords() {
    // Called from the load's own signal: it goes once the signal has returned.
    RecordFileLoad* load = m_pendingLoad.release();
    load->deleteLater();
    m_grid.takeRecordRows(std::move(load->grid()));
    m_load = load->report();
    m_changer->gridRead(m_pendingStamp, std::exchange(m_pendingNewHistory, false));
    // The reading thread's pool keeps what the load used in passing; so did the rows replaced.
    returnFreeMemory();
    m_progress->hide();
    if (m_load.status == FileStatus::Unreadable)
        m_messages.show(kTitleError, kLoadFailed.arg(m_load.error), MessageIcon::Warning);
}

std::optional<QDate> EditorWindow::castingDateOrRefuse() {
    const std::optional<QDate> date = m_castingDate->date();
    if (!date) {
        m_messages.show(kTitleNote, kCastingDateInvalid.arg(m_castingDate->text()),
                        MessageIcon::Warning);
        m_castingDate->setFocus();
        m_castingDate->selectAll();
    }
    return date;
}

void EditorWindow::computeDueTime() {
    m_adding->computeDueTime();
}

QStringList EditorWindow::recordFields() const {
    SpecimenRecord record;
    record.projectPart = m_projectPart->text();
    record.strengthGrade = m_strengthGrade->currentText();
    record.mixNumber = m_mixNumber->text();
    record.castingDate = dateText(m_castingDate->date().value_or(QDate())) + QLatin1Char(' ') +
                         m_castingHour->text() + QLatin1Char(':') + m_castingMinute->text();
    record.curingAgeDays = m_curingAge->text();
    record.dueTime = m_dueTime->text();
    record.curingMethod = m_curingMethod->currentText();
    record.quantity = m_quantity->text();
    record.groupCount = m_groupCount->text();
    record.remark = m_remark->text();
    return record.fields();
}

bool EditorWindow::refuseUnstorableField() {
    const std::pair<QWidget*, QString> stored[] = {{m_projectPart, nameOf(kProjectPart)},
                                                   {m_strengthGrade, nameOf(kStrengthGrade)},
                                                   {m_mixNumber, nameOf(kMixNumber)},
                                                   {m_castingHour, kCastingHourName},
                                                   {m_castingMinute, kCastingMinuteName},
                                                   {m_curingAge, nameOf(kCuringAge)},
                                                   {m_dueTime, nameOf(kDueTime)},
                                                   {m_curingMethod, nameOf(kCuringMethod)},
                                                   {m_quantity, nameOf(kQuantity)},
                                                   {m_groupCount, nameOf(kGroupCount)},
                                                   {m_remark, nameOf(kRemark)}};
    for (const auto& [control, name] : stored) {
        const auto* combo = qobject_cast<const QComboBox*>(control);
        const QString problem = unstorableProblem(
            name, combo ? combo->currentText() : static_cast<const QLineEdit*>(control)->text());
        if (problem.isEmpty()) continue;
        m_messages.show(kTitleNote, problem, MessageIcon::Warning);
        control->setFocus();
        return true;
    }
    return false;
}

void EditorWindow::addRecord() {
    if (!m_editing->isEditing()) m_adding->addRecord();  // 保存修改 saves a change
}

QString EditorWindow::castingHour() const {
    return m_castingHour->text();
}
QString EditorWindow::castingMinute() const {
    return m_castingMinute->text();
}
QString EditorWindow::ageHours() const {
    return m_ageHours->text();
}
QString EditorWindow::ageMinutes() const {
    return m_ageMinutes->text();
}
QString EditorWindow::curingAge() const {
    return m_curingAge->text();
}
QString EditorWindow::dueTime() const {
    return m_dueTime->text();
}
void EditorWindow::setDueTime(const QString& text) {
    m_dueTime->setText(text);
}

void EditorWindow::showRecord(const QStringList& fields) {
    const SpecimenRecord record = SpecimenRecord::fromFields(fields);
    m_projectPart->setText(record.projectPart);
    m_strengthGrade->setEditText(record.strengthGrade);
    m_mixNumber->setText(record.mixNumber);
    // "2024-3-7 09:05": the date, a blank, the hour, ":" and the minute, each as stored.
    const QString date = record.castingDate.section(u' ', 0, 0);
    const QString time = record.castingDate.section(u' ', 1);
    m_castingDate->setText(date);
    m_castingHour->setText(time.section(u':', 0, 0));
    m_castingMinute->setText(time.section(u':', 1));
    m_curingAge->setText(record.curingAgeDays);
    m_ageHours->setText(QStringLiteral("0"));
    m_ageMinutes->setText(QStringLiteral("0"));
    m_dueTime->setText(record.dueTime);
    m_curingMethod->setEditText(record.curingMethod);
    m_quantity->setText(record.quantity);
    m_groupCount->setText(record.groupCount);
    m_remark->setText(record.remark);
}

QList<int> EditorWindow::tickedAges() const {
    return m_ticks->ages();
}

void EditorWindow::showStatus(const QString& text) {
    m_saved->setText(text);
}

void EditorWindow::showAdding(bool adding) {
    m_note->setVisible(adding);
    m_add->setVisible(adding);
    m_saved->setVisible(adding);
    m_ticks->setEnabled(adding);
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (enter) {
            if (auto* button = qobject_cast<QPushButton*>(watched))
                button->click();
            else if (m_dueTime->text().isEmpty())
                m_compute->click();
            else
                (m_editing->isEditing() ? m_editing->buttons().first() : m_add)->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    if (event->isAccepted()) emit discarded();
}
