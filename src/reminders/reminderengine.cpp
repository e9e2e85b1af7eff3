#include "reminders/reminderengine.h"

#include <QDateTime>

#include "platform/clock.h"
#include "platform/messageservice.h"
#include "records/recordgrid.h"
#include "records/specimenrecord.h"
#include "reminders/popupopener.h"

namespace {

const QString kInfoTitle = QStringLiteral("提示");
const QString kErrorTitle = QStringLiteral("错误提示");
const QString kInitialisedText =
    QStringLiteral("初始化完成。此初始化仅会修改提示组数。不会对数据进行损坏");
const QString kInitFailedText = QStringLiteral("提示初始化失败，原有的提示文件未作改动。\n%1");
const QString kNoFreeSlotText =
    QStringLiteral("上次关闭异常。或已经全部提示。此次提示失败。建议立即初始化。");
const QString kSlotWriteFailedText = QStringLiteral("无法写入提示文件，此次提示失败。\n%1");

}  // namespace

ReminderEngine::ReminderEngine(RecordGrid& grid, const Clock& clock, const ScreenMetrics& screen,
                               MessageService& messages, PopupOpener& popups, QString profilePath)
    : m_grid(grid),
      m_screen(screen),
      m_messages(messages),
      m_popups(popups),
      m_slots(std::move(profilePath)),
      m_dueMark(dueMarkText()),
      m_minuteText(clock, QStringLiteral("yyyy-MM-dd hh:mm")) {}

void ReminderEngine::tscsh() {
    QString error;
    if (!m_slots.create(SlotTable::positionsPerGroup(m_screen), &error)) {
        m_messages.show(QStringLiteral("错误"), kInitFailedText.arg(error), MessageIcon::Warning);
        return;
    }
    m_messages.show(kInfoTitle, kInitialisedText, MessageIcon::Information);
}

void ReminderEngine::Timer1_Timer() {
    const int rows = m_grid.rows();
    for (int r = 1; r < rows; ++r) {
        // The clock is read for every row, so a walk that crosses a minute uses the new minute.
        const QString& minute = m_minuteText.read();
        if (minute.isEmpty() || m_grid.textMatrix(r, recordcolumns::kDueTime) != minute) continue;
        if (m_grid.textMatrix(r, recordcolumns::kDueMark) == m_dueMark) continue;
        HighlightRow(m_grid, r, RecordGrid::kYellow, RecordGrid::kHighlight);
        m_grid.setTextMatrix(r, recordcolumns::kDueMark, m_dueMark);
        yxts(r);
    }
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

void ReminderEngine::yxts(int row) {
    // Before the first initialisation there is no table: make one, so the first reminder works.
    QString error;
    if (!m_slots.exists() && !m_slots.create(SlotTable::positionsPerGroup(m_screen), &error)) {
        m_messages.show(kErrorTitle, kSlotWriteFailedText.arg(error), MessageIcon::Warning);
        return;
    }

    const std::optional<ReminderSlot> slot = m_slots.findFreeSlot();
    if (!slot) {
        m_messages.show(kErrorTitle, kNoFreeSlotText, MessageIcon::None);
        return;
    }
    QStringList values;
    for (const ReminderSlot::RecordKey& key : ReminderSlot::recordKeys())
        values.append(m_grid.textMatrix(row, key.column));
    const std::optional<QStringList> lines = m_slots.fill(*slot, values, &error);
    if (!lines) {
        m_messages.show(kErrorTitle, kSlotWriteFailedText.arg(error), MessageIcon::Warning);
        return;
    }
    m_popups.openPopup(*slot, *lines);
}
