#include "reminders/reminderengine.h"

#include <QDateTime>

#include "platform/messageservice.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"
#include "reminders/dueminute.h"
#include "reminders/popupopener.h"

namespace {

const QString kInfoTitle = QStringLiteral("提示");
const QString kErrorTitle = QStringLiteral("错误提示");
const QString kInitialisedText =
    QStringLiteral("初始化完成。此初始化仅会修改提示组数。不会对数据进行损坏");
const QString kInitFailedText = QStringLiteral("提示初始化失败，原有的提示文件未作改动。\n%1");
const QString kNoFreeSlotText = QStringLiteral(
    "提示位置已全部占用，暂时无法显示新的提示。"
    "请关闭已经看过的提示窗口，未显示的提示会随后自动补发。");
const QString kSlotWriteFailedText =
    QStringLiteral("无法写入提示文件，暂时无法显示新的提示，程序会继续尝试。\n%1");
const QString kStaleSlotsText =
    QStringLiteral("无法写入提示文件，上次留下的提示位置未能释放。\n%1");
const QString kStateWriteFailedText =
    QStringLiteral("无法保存已提醒的记录，程序重新启动后，这些提醒可能会再出现一次。\n%1");
// %1: the due minute, "hh:mm" on the day of the announcement, else with its date.
const QString kLateNote = QStringLiteral("补发：原定 %1 到期");

// The last record field in the grid: the ten before the due mark make up a record's text.
constexpr int kLastRecordColumn = recordcolumns::kDueMark - 1;

QString lateNote(const QString& dueMinute, const QString& now) {
    const bool sameDay = QStringView(dueMinute).left(10) == QStringView(now).left(10);
    return kLateNote.arg(sameDay ? dueMinute.mid(11) : dueMinute);
}

}  // namespace

ReminderEngine::ReminderEngine(RecordGrid& grid, const Clock& clock, const ScreenMetrics& screen,
                               MessageService& messages, PopupOpener& popups, QString profilePath,
                               QString announcedPath)
    : m_grid(grid),
      m_clock(clock),
      m_screen(screen),
      m_messages(messages),
      m_popups(popups),
      m_slots(std::move(profilePath)),
      m_announced(std::move(announcedPath)),
      m_dueMark(dueMarkText()),
      m_minuteText(clock, QStringLiteral("yyyy-MM-dd hh:mm")) {
    m_announced.load();
}

void ReminderEngine::tscsh() {
    QString error;
    if (!m_slots.create(SlotTable::positionsPerGroup(m_screen), &error)) {
        m_messages.show(QStringLiteral("错误"), kInitFailedText.arg(error), MessageIcon::Warning);
        return;
    }
    m_messages.show(kInfoTitle, kInitialisedText, MessageIcon::Information);
}

void ReminderEngine::Timer1_Timer() {
    m_noticeGiven = false;
    const int before = m_announced.size();
    const int rows = m_grid.rows();
    for (int r = 1; r < rows; ++r) {
        // The clock is read for every row, so a walk that crosses a minute uses the new minute.
        const QString& now = m_minuteText.read();
        if (now.isEmpty()) break;
        // The due time first: most rows lie ahead, and their mark is not read at all.
        QString due;
        if (!dueBy(m_grid.textMatrix(r, recordcolumns::kDueTime), now, &due) || marked(r)) continue;
        // No slot took it: this row and the ones after it wait for the next tick.
        if (!yxts(r, due < now ? lateNote(due, now) : QString())) break;
        mark(r);
        m_announced.add(due, recordText(r));
    }
    if (m_announced.size() != before) saveAnnounced();
}

void ReminderEngine::HighlightRow(RecordGrid& grid, int row, quint32 foreColour,
                                  quint32 backColour) {
    const int cols = grid.cols();
    for (int c = 1; c < cols; ++c) {
        grid.setRow(row);
        grid.setCol(c);
        grid.setCellForeColor(foreColour);
        grid.setCellBackColor(backColour);
    }
}

bool ReminderEngine::yxts(int row, const QString& lateNote) {
    // Before the first initialisation there is no table: make one, so the first reminder works.
    QString error;
    if (!m_slots.exists() && !m_slots.create(SlotTable::positionsPerGroup(m_screen), &error)) {
        notice(kSlotWriteFailedText.arg(error));
        return false;
    }
    const std::optional<ReminderSlot> slot = m_slots.findFreeSlot();
    if (!slot) {
        notice(kNoFreeSlotText);
        return false;
    }
    QStringList values;
    for (const ReminderSlot::RecordKey& key : ReminderSlot::recordKeys())
        values.append(m_grid.textMatrix(row, key.column));
    const std::optional<QStringList> lines = m_slots.fill(*slot, values, &error);
    if (!lines) {
        notice(kSlotWriteFailedText.arg(error));
        return false;
    }
    m_popups.openPopup(*slot, *lines, lateNote);
    return true;
}

void ReminderEngine::freeStaleSlots() {
    QString error;
    if (!m_slots.releaseAll(&error)) m_messages.notify(kErrorTitle, kStaleSlotsText.arg(error));
}

void ReminderEngine::restoreMarks(const QDate& listDay) {
    m_noticeGiven = false;
    if (listDay.isValid() && m_announced.dropBefore(listDay)) saveAnnounced();
    QHash<QString, int> left = m_announced.counts();
    if (left.isEmpty()) return;
    const int rows = m_grid.rows();
    for (int r = 1; r < rows; ++r) {
        if (marked(r)) continue;
        const auto it = left.find(AnnouncedState::identityOf(recordText(r)));
        if (it == left.end() || *it == 0) continue;
        --*it;
        mark(r);
    }
}

bool ReminderEngine::addRecord(const QStringList& fields) {
    const QDateTime now = m_clock.now();
    const int dueField = recordcolumns::kDueTime - 1;
    if (!now.isValid() || fields.size() <= dueField ||
        !fields.at(dueField).contains(now.toString(QStringLiteral("yyyy-MM-dd"))))
        return false;
    appendRecordRow(m_grid, fields);
    numberRows(m_grid);
    return true;
}

void ReminderEngine::carryAnnouncement(const QStringList& before, const QStringList& after) {
    const int dueField = recordcolumns::kDueTime - 1;
    if (before.size() <= dueField || after.size() <= dueField ||
        before.at(dueField) != after.at(dueField))
        return;
    const QString from = before.mid(0, kLastRecordColumn).join(u',');
    const QString to = after.mid(0, kLastRecordColumn).join(u',');
    if (from != to && m_announced.carryOver(from, to)) saveAnnounced();
}

int ReminderEngine::pendingCount() const {
    int pending = 0;
    for (int r = 1; r < m_grid.rows(); ++r)
        if (!marked(r) && !dueMinuteText(m_grid.textMatrix(r, recordcolumns::kDueTime)).isEmpty())
            ++pending;
    return pending;
}

bool ReminderEngine::marked(int row) const {
    return m_grid.textMatrix(row, recordcolumns::kDueMark) == m_dueMark;
}

void ReminderEngine::mark(int row) {
    HighlightRow(m_grid, row, RecordGrid::kYellow, RecordGrid::kHighlight);
    m_grid.setTextMatrix(row, recordcolumns::kDueMark, m_dueMark);
}

QString ReminderEngine::recordText(int row) const {
    QStringList fields;
    for (int c = 1; c <= kLastRecordColumn; ++c) fields.append(m_grid.textMatrix(row, c));
    return fields.join(u',');
}

void ReminderEngine::notice(const QString& text) {
    if (m_noticeGiven) return;
    m_noticeGiven = true;
    m_messages.notify(kErrorTitle, text);
}

void ReminderEngine::saveAnnounced() {
    QString error;
    if (!m_announced.save(&error)) notice(kStateWriteFailedText.arg(error));
}
