#include "editor/recordadding.h"

#include "editor/addchecks.h"
#include "editor/duetime.h"
#include "editor/editortexts.h"
#include "editor/editorwindow.h"
#include "editor/inputchecks.h"
#include "editor/recordchangecommand.h"
#include "editor/recordchanger.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"
#include "records/recordgridview.h"
#include "records/specimenrecord.h"

using namespace editortexts;

namespace {

constexpr int kAgeField = 4;
constexpr int kDueField = recordcolumns::kDueTime - 1;

// The questions and refusals before 保存修改 are those before 添加, worded for a change, so that
// none reads as if a new record were added.
class ChangeWording : public MessageService {
  public:
    explicit ChangeWording(MessageService& messages) : m_messages(messages) {}
    void show(const QString& title, const QString& text, MessageIcon icon) override {
        m_messages.show(title, worded(text), icon);
    }
    bool ask(const QString& title, const QString& text) override {
        return m_messages.ask(title, worded(text));
    }
    void notify(const QString& title, const QString& text) override {
        m_messages.notify(title, text);
    }
    Answer choose(const QString& title, const QString& text) override {
        return m_messages.choose(title, worded(text));
    }

  private:
    static QString worded(QString text) {
        return text
            .replace(QStringLiteral("仍然添加这条记录吗？"), QStringLiteral("仍然保存这条修改吗？"))
            .replace(QStringLiteral("后添加"), QStringLiteral("后保存"))
            .replace(QStringLiteral("本条记录未添加"), QStringLiteral("这条修改未保存"))
            .replace(QStringLiteral("后再添加"), QStringLiteral("后再保存"))
            .replace(QStringLiteral(" 添加\n取消：不添加"), QStringLiteral(" 保存\n取消：不保存"));
    }
    MessageService& m_messages;
};

}  // namespace

RecordAdding::RecordAdding(EditorWindow& window) : QObject(&window), m_window(window) {}

bool RecordAdding::gridReady(const QString& loadingText) {
    if (m_window.recordsLoading()) {
        m_window.messages().show(kTitleNote, loadingText, MessageIcon::Information);
        return false;
    }
    if (m_window.loadReport().status == FileStatus::Unreadable) {
        m_window.messages().show(kTitleError, kAddWithoutRecords.arg(m_window.loadReport().error),
                                 MessageIcon::Warning);
        return false;
    }
    return true;
}

void RecordAdding::addRecord() {
    if (!gridReady(kAddWhileLoading) || m_window.refuseUnstorableField()) return;
    const QList<int> ticked = m_window.tickedAges();
    QList<QStringList> records;
    if (!ticked.isEmpty())
        records = severalAgesRecords(ticked);
    else if (checkBeforeSave(-1))
        records << m_window.recordFields();
    if (!records.isEmpty()) append(records);
}

void RecordAdding::computeDueTime() {
    MessageService& messages = m_window.messages();
    const QString age = m_window.curingAge();
    if (age.isEmpty()) {
        messages.show(kTitleError, kAgeMissing, MessageIcon::None);
        return;
    }
    const std::optional<QDate> castingDate = m_window.castingDateOrRefuse();
    if (!castingDate) return;
    if (!(curingDayCount(age) >= 1)) {
        messages.show(kTitleNote, kAgeBelowOneDay, MessageIcon::Warning);
        return;
    }
    const std::optional<QString> due =
        tianjia(*castingDate, m_window.castingHour(), m_window.castingMinute(), age,
                m_window.ageHours(), m_window.ageMinutes());
    if (!due) {
        messages.show(kTitleNote, kDueDateOutOfRange, MessageIcon::Warning);
        return;
    }
    m_window.setDueTime(*due);
}

bool RecordAdding::checkBeforeSave(int editedRow) {
    ChangeWording changeWording(m_window.messages());
    MessageService& messages = editedRow > 0 ? changeWording : m_window.messages();
    const std::optional<QDate> castingDate = m_window.castingDateOrRefuse();
    if (!castingDate) return false;
    QString problem = castingTimeProblem(m_window.castingHour(), m_window.castingMinute());
    if (problem.isEmpty()) problem = missingAgeProblem(m_window.curingAge(), m_window.dueTime());
    if (!problem.isEmpty()) {
        messages.show(kTitleNote, problem, MessageIcon::Warning);
        return false;
    }
    // A change asks only about what it changes.
    const QStringList before =
        editedRow > 0 ? recordCellTexts(m_window.grid(), editedRow, recordcolumns::kDueMark)
                      : QStringList();
    const QDateTime now = m_window.clock().now();
    const QString castingField = m_window.recordFields().at(3);
    if ((before.isEmpty() || before.at(3) != castingField) &&
        !confirmCastingDate(*castingDate, now.date(), messages))
        return false;

    const DueTimeInputs inputs{
        *castingDate,         m_window.castingHour(), m_window.castingMinute(),
        m_window.curingAge(), m_window.ageHours(),    m_window.ageMinutes()};
    const std::optional<QString> due = confirmDueTime(m_window.dueTime(), inputs, messages);
    if (!due) return false;
    if (*due != m_window.dueTime()) m_window.setDueTime(*due);
    if ((before.isEmpty() || before.at(kDueField) != *due) &&
        !confirmDueNotPast(*due, now, messages))
        return false;

    const QStringList fields = m_window.recordFields();
    if (editedRow < 0) return confirmDuplicate(m_window.grid(), fields, messages);
    const QStringList cells = fields.mid(0, recordcolumns::kDueMark - 1);
    int same = m_window.grid().findRow(cells, 1);
    if (same == editedRow) same = m_window.grid().findRow(cells, 1, editedRow + 1);
    return same < 0 || messages.ask(kTitleNote, kDuplicateOther.arg(same));
}

QList<QStringList> RecordAdding::severalAgesRecords(const QList<int>& ticked) {
    MessageService& messages = m_window.messages();
    const std::optional<QDate> castingDate = m_window.castingDateOrRefuse();
    if (!castingDate) return {};
    if (const QString problem =
            castingTimeProblem(m_window.castingHour(), m_window.castingMinute());
        !problem.isEmpty()) {
        messages.show(kTitleNote, problem, MessageIcon::Warning);
        return {};
    }
    const QDateTime now = m_window.clock().now();
    if (!confirmCastingDate(*castingDate, now.date(), messages)) return {};

    QList<QStringList> records;
    QList<AgeRecord> listed;
    const QStringList fields = m_window.recordFields();
    for (const QString& age : agesToAdd(m_window.curingAge(), ticked)) {
        const std::optional<QString> due =
            tianjia(*castingDate, m_window.castingHour(), m_window.castingMinute(), age,
                    m_window.ageHours(), m_window.ageMinutes());
        QStringList record = fields;
        record[kAgeField] = age;
        record[kDueField] = due.value_or(QString());
        records << record;
        listed << AgeRecord{age, record.at(kDueField),
                            m_window.grid().findRow(record.mid(0, recordcolumns::kDueMark - 1), 1)};
    }
    if (!confirmSeveralAges(listed, now, messages)) return {};
    return records;
}

void RecordAdding::append(const QList<QStringList>& records) {
    QList<LineChange> changes;
    for (const QStringList& fields : records) {
        LineChange change;
        change.kind = LineChange::Kind::Append;
        change.text = gbk::encode(joinRecordLine(fields));
        change.gridRow = m_window.grid().rows() - 1 + int(changes.size());
        changes << change;
    }
    QString error;
    if (!makeUndoableChange(m_window.undoStack(), kStepAdd.arg(records.size()), m_window.changer(),
                            m_window.messages(), changes, &error)) {
        m_window.showStatus(QString());
        m_window.messages().show(kTitleError, kSaveFailed.arg(error), MessageIcon::Critical);
        return;
    }
    m_window.gridView()->scrollToBottom();
    const QString due = records.last().at(kDueField);
    QString status = records.size() > 1 ? kAddedSeveral.arg(records.size())
                     : due.isEmpty()    ? kSavedWithoutDueTime
                                        : (isDueTimeText(due) ? kSaved : kSavedNoReminder).arg(due);
    if (m_window.changer().wroteToFreshFile()) status = kFreshFile;
    m_window.showStatus(status);
}
