#include "reminders/reminderengine.h"

#include <QDateTime>

#include "platform/messageservice.h"
#include "records/recordgrid.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"
#include "reminders/duebetween.h"
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
// %1: the due minute, "hh:mm" on the day of the announcement, else "MM-DD hh:mm".
const QString kLateNote = QStringLiteral("补发：原定 %1 到期");
// A row of the list of late rows after its number. %1: the batch, %2: its due minute as in the
// late note.
const QString kLateListRow = QStringLiteral("%1  原定 %2");

const QString kMinuteFormat = QStringLiteral("yyyy-MM-dd hh:mm");

// The last record field in the grid: the ten before the due mark make up a record's text.
constexpr int kLastRecordColumn = recordcolumns::kDueMark - 1;

// The record's ten fields in a row of a grid; with an empty eleventh field (the due mark) they
// are a line as appendRecordRow() places it.
QStringList recordFields(const RecordGrid& grid, int row) {
    return recordCellTexts(grid, row, kLastRecordColumn);
}

// Takes one announcement of the record from the counts; false when none is left.
bool takeAnnounced(QHash<QString, int>& left, const QString& recordText) {
    const auto it = left.find(AnnouncedState::identityOf(recordText));
    if (it == left.end() || *it == 0) return false;
    --*it;
    return true;
}

QString dayStart(const QDate& day) {
    return day.toString(QStringLiteral("yyyy-MM-dd 00:00"));
}

}  // namespace

QString recordTextOf(const RecordGrid& grid, int row) {
    return recordFields(grid, row).join(u',');
}

QString batchSummaryOf(const RecordGrid& grid, int row) {
    constexpr int kPart = 1, kGrade = 2, kGroups = 9;
    return batchSummary(grid.textMatrix(row, kPart), grid.textMatrix(row, kGrade),
                        grid.textMatrix(row, kGroups));
}

ReminderEngine::ReminderEngine(RecordGrid& grid, const Clock& clock, const ScreenMetrics& screen,
                               MessageService& messages, PopupOpener& popups, QString profilePath,
                               QString announcedPath, QString dataFilePath)
    : m_grid(grid),
      m_clock(clock),
      m_screen(screen),
      m_messages(messages),
      m_popups(popups),
      m_slots(std::move(profilePath)),
      m_announced(std::move(announcedPath)),
      m_dataFilePath(std::move(dataFilePath)),
      m_dueMark(dueMarkText()),
      m_minuteText(clock, kMinuteFormat) {
    m_announced.load();
    m_savedLastScan = m_announced.lastScan();
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
    const QString first = m_minuteText.read();
    if (first.isEmpty()) return;
    // The rows due by now, in grid order.
    QList<DueRow> due;
    QList<DueRow> lateRows;  // those of them whose minute has passed
    const int rows = m_grid.rows();
    for (int r = 1; r < rows; ++r) {
        // The clock is read for every row, so a walk that crosses a minute uses the new minute.
        const QString& now = m_minuteText.read();
        if (now.isEmpty()) return;
        // The due time first: most rows lie ahead, and their mark is not read at all.
        QString minute;
        if (!dueBy(m_grid.textMatrix(r, recordcolumns::kDueTime), now, &minute) || marked(r))
            continue;
        const DueRow row{r, minute, now};
        if (minute < now) lateRows.append(row);
        due.append(row);
    }
    const bool oneList = lateRows.size() > kLateListAbove;
    bool complete = true;
    for (const DueRow& d : std::as_const(due)) {
        const bool isLate = d.minute < d.now;
        if (oneList && isLate) {
            // The late rows come in one list, where the first of them stands.
            if (d.row == lateRows.first().row && !announceLateList(lateRows)) {
                complete = false;
                break;
            }
            continue;
        }
        // No slot took it: this row and the ones after it wait for the next tick.
        if (!yxts(d.row, isLate ? kLateNote.arg(shortDueText(d.minute, d.now)) : QString())) {
            complete = false;
            break;
        }
        announced(d);
    }
    // Every row due by the walk's first minute has been announced, or some wait for a slot.
    const bool announcedSome = m_announced.size() != before;
    if (complete)
        watchedUpTo(first, announcedSome);
    else if (announcedSome)
        saveAnnounced();
}

void ReminderEngine::watch() {
    const QString& now = m_minuteText.read();
    if (now.isEmpty()) return;
    QString due;
    for (int r = 1; r < m_grid.rows(); ++r)
        if (dueBy(m_grid.textMatrix(r, recordcolumns::kDueTime), now, &due) && !marked(r)) return;
    watchedUpTo(now, false);
}

void ReminderEngine::watchedUpTo(const QString& minute, bool announced) {
    // The list holds the records of its day (and earlier ones): past its end it vouches for none.
    const QString listEnd = addMinutes(dayStart(m_listDay.addDays(1)), -1);
    if (!m_holdLastScan && m_listDay.isValid()) m_announced.setLastScan(std::min(minute, listEnd));
    // The minute alone is written once an hour, and when the clock went back.
    const QString& scan = m_announced.lastScan();
    const bool scanWorthSaving =
        scan != m_savedLastScan &&
        (m_savedLastScan.isEmpty() || scan < m_savedLastScan ||
         QStringView(scan).left(13) != QStringView(m_savedLastScan).left(13));
    if (announced || scanWorthSaving) saveAnnounced();
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

std::optional<QStringList> ReminderEngine::fillSlot(int row, ReminderSlot* slot) {
    // Before the first initialisation there is no table: make one, so the first reminder works.
    QString error;
    if (!m_slots.exists() && !m_slots.create(SlotTable::positionsPerGroup(m_screen), &error)) {
        notice(kSlotWriteFailedText.arg(error));
        return std::nullopt;
    }
    const std::optional<ReminderSlot> free = m_slots.findFreeSlot();
    if (!free) {
        notice(kNoFreeSlotText);
        return std::nullopt;
    }
    QStringList values;
    for (const ReminderSlot::RecordKey& key : ReminderSlot::recordKeys())
        values.append(m_grid.textMatrix(row, key.column));
    std::optional<QStringList> lines = m_slots.fill(*free, values, &error);
    if (!lines) notice(kSlotWriteFailedText.arg(error));
    *slot = *free;
    return lines;
}

bool ReminderEngine::yxts(int row, const QString& lateNote) {
    ReminderSlot slot;
    const std::optional<QStringList> lines = fillSlot(row, &slot);
    if (!lines) return false;
    m_popups.openPopup(slot, *lines, lateNote, recordText(row));
    return true;
}

bool ReminderEngine::announceLateList(const QList<DueRow>& rows) {
    // The slot holds the first row's record, as ts.ini holds one record per slot.
    ReminderSlot slot;
    if (!fillSlot(rows.first().row, &slot)) return false;
    QStringList lines;
    QStringList records;
    for (const DueRow& d : rows) {
        lines.append(lateListLine(
            m_grid.textMatrix(d.row, recordcolumns::kNumber),
            kLateListRow.arg(batchSummaryOf(m_grid, d.row), shortDueText(d.minute, d.now))));
        records.append(recordText(d.row));
    }
    m_popups.openLateList(slot, lines, records);
    for (const DueRow& d : rows) announced(d);
    return true;
}

void ReminderEngine::announced(const DueRow& due) {
    mark(due.row);
    m_announced.add(due.minute, recordText(due.row));
}

void ReminderEngine::freeStaleSlots() {
    QString error;
    if (!m_slots.releaseAll(&error)) m_messages.notify(kErrorTitle, kStaleSlotsText.arg(error));
}

void ReminderEngine::restoreMarks(const QDate& listDay) {
    m_noticeGiven = false;
    m_listDay = listDay;
    if (listDay.isValid()) {
        const QDate oldest = listDay.addDays(-kCatchUpDays);
        if (m_announced.dropBefore(oldest)) saveAnnounced();
        const QString first = dayStart(oldest);
        m_earlier.removeIf([&](const QStringList& fields) {
            return dueMinuteText(fields.value(recordcolumns::kDueTime - 1)) < first;
        });
    }
    QHash<QString, int> left = m_announced.counts();
    appendEarlierRows(left);
    if (left.isEmpty()) return;
    const int rows = m_grid.rows();
    for (int r = 1; r < rows; ++r)
        if (!marked(r) && takeAnnounced(left, recordText(r))) mark(r);
}

void ReminderEngine::appendEarlierRows() {
    QHash<QString, int> left = m_announced.counts();
    appendEarlierRows(left);
}

void ReminderEngine::appendEarlierRows(QHash<QString, int>& left) {
    // Those announced meanwhile are done.
    m_earlier.removeIf([&](const QStringList& fields) {
        return takeAnnounced(left, fields.mid(0, kLastRecordColumn).join(u','));
    });
    for (const QStringList& fields : std::as_const(m_earlier)) appendRecordRow(m_grid, fields);
    if (!m_earlier.isEmpty()) numberRows(m_grid);
}

std::optional<ReminderEngine::Span> ReminderEngine::catchUpSpan(const QDate& from,
                                                                const QDate& today) const {
    if (!today.isValid() || !from.isValid() || m_announced.lastScan().isEmpty())
        return std::nullopt;
    const QString first = std::max({dayStart(from), dayStart(today.addDays(-kCatchUpDays)),
                                    addMinutes(m_announced.lastScan(), 1)});
    const QString last = addMinutes(dayStart(today), -1);
    if (first > last) return std::nullopt;
    return Span{first, last};
}

void ReminderEngine::addEarlierRecords(const RecordGrid& loaded) {
    QHash<QString, int> left = m_announced.counts();
    for (int r = 1; r < loaded.rows() - 1; ++r) {
        const QStringList fields = recordFields(loaded, r);
        if (!takeAnnounced(left, fields.join(u',')))
            m_earlier.append(fields + QStringList{QString()});
    }
}

void ReminderEngine::changeDay(const QDate& newDay, bool silenced) {
    const QString start = dayStart(newDay);
    m_earlier.clear();
    if (silenced) {
        // Everything before the new day ends with its day, also after a restart.
        const QString dayEnd = addMinutes(start, -1);
        if (m_announced.lastScan() < dayEnd) m_announced.setLastScan(dayEnd);
    } else {
        const int rows = m_grid.rows();
        for (int r = 1; r < rows; ++r) {
            if (marked(r)) continue;
            const QString due = dueMinuteText(m_grid.textMatrix(r, recordcolumns::kDueTime));
            if (due.isEmpty() || due >= start) continue;
            m_earlier.append(recordFields(m_grid, r) + QStringList{QString()});
        }
        // The days between the old list's and the new one, which no list has shown.
        const std::optional<Span> span =
            m_listDay.isValid() ? catchUpSpan(m_listDay.addDays(1), newDay) : std::nullopt;
        if (span && !m_dataFilePath.isEmpty()) {
            RecordGrid loaded(2, recordcolumns::kMainGridColumns);
            // Not read: the last-scan minute stays before those days (see holdLastScan()).
            if (loadDueBetween(loaded, m_dataFilePath, span->first, span->last).status ==
                FileStatus::Unreadable)
                m_holdLastScan = true;
            addEarlierRecords(loaded);
        }
    }
    m_advanceNoticed.clear();
    saveLastScan();
}

void ReminderEngine::saveLastScan() {
    if (m_announced.lastScan() != m_savedLastScan) saveAnnounced();
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

QList<int> ReminderEngine::advanceNotices(int minutes) {
    QList<int> rows;
    const QString now = m_minuteText.read();
    if (minutes <= 0 || now.isEmpty()) return rows;
    const QString until = addMinutes(now, minutes);
    m_advanceNoticed.removeIf([&](const QString& key) { return QStringView(key).left(16) <= now; });
    for (int r = 1; r < m_grid.rows(); ++r) {
        QString due;
        if (!dueBy(m_grid.textMatrix(r, recordcolumns::kDueTime), until, &due) || due <= now ||
            marked(r))
            continue;
        const QString key = due + u'\t' + recordText(r);
        if (m_advanceNoticed.contains(key)) continue;
        m_advanceNoticed.insert(key);
        rows.append(r);
    }
    return rows;
}

bool ReminderEngine::marked(int row) const {
    return m_grid.textMatrix(row, recordcolumns::kDueMark) == m_dueMark;
}

void ReminderEngine::mark(int row) {
    HighlightRow(m_grid, row, RecordGrid::kYellow, RecordGrid::kHighlight);
    m_grid.setTextMatrix(row, recordcolumns::kDueMark, m_dueMark);
}

void ReminderEngine::notice(const QString& text) {
    if (m_noticeGiven) return;
    m_noticeGiven = true;
    m_messages.notify(kErrorTitle, text);
}

void ReminderEngine::saveAnnounced() {
    // Attempted once per change: a file that cannot be written is not tried at every tick.
    m_savedLastScan = m_announced.lastScan();
    QString error;
    if (!m_announced.save(&error)) notice(kStateWriteFailedText.arg(error));
}
