#include "reminders/reminderpopupfactory.h"

#include <QHash>
#include <QTimer>

#include "platform/alertsound.h"
#include "platform/messageservice.h"
#include "records/recordgrid.h"
#include "records/specimenrecord.h"
#include "reminders/reminderengine.h"
#include "reminders/reminderpopup.h"
#include "reminders/slottable.h"

namespace {

// %1: how many rows the list holds.
const QString kLateListHeadline = QStringLiteral("补发：以下 %1 批已到期");
const QString kNumberPrefix = QStringLiteral("编号:");
const QString kGone = QStringLiteral("—");

// The value of a "key:value" line of a pop-up's list.
QString valueOf(const QStringList& lines, const QString& key) {
    for (const QString& line : lines)
        if (line.startsWith(key + u':')) return line.mid(key.size() + 1);
    return {};
}

}  // namespace

ReminderPopupFactory::ReminderPopupFactory(QString profilePath, const ScreenMetrics& screen,
                                           MessageService& messages, AlertSound& sound)
    : m_profilePath(std::move(profilePath)),
      m_screen(screen),
      m_messages(messages),
      m_sound(sound) {}

ReminderPopupFactory::~ReminderPopupFactory() {
    // Pop-ups still open here go without writing: the program's exit has released their slots.
    for (const Open& open : std::as_const(m_popups)) {
        if (!open.popup) continue;
        open.popup->setReleased();
        delete open.popup.data();
    }
}

void ReminderPopupFactory::openPopup(const ReminderSlot& slot, const QStringList& lines,
                                     const QString& lateNote, const QString& record) {
    const PopupContent content{batchSummary(valueOf(lines, QStringLiteral("工程部位")),
                                            valueOf(lines, QStringLiteral("强度等级")),
                                            valueOf(lines, QStringLiteral("组数"))),
                               false, lateNote, lines};
    opened(new ReminderPopup(slot, content, m_profilePath, m_screen, m_messages), {record}, {});
}

void ReminderPopupFactory::openLateList(const ReminderSlot& slot, const QStringList& lines,
                                        const QStringList& records) {
    const PopupContent content{kLateListHeadline.arg(lines.size()), true, {}, lines};
    QStringList rests;  // each line after its number
    for (const QString& line : lines) rests.append(line.section(u'：', 1));
    opened(new ReminderPopup(slot, content, m_profilePath, m_screen, m_messages), records, rests);
}

void ReminderPopupFactory::opened(ReminderPopup* popup, QStringList records, QStringList rests) {
    m_popups.removeIf([](const Open& open) { return !open.popup; });
    m_popups.append({popup, std::move(records), std::move(rests)});
    popup->show();
    // One sound for all the pop-ups a tick opens.
    if (!m_soundOn || m_soundDue) return;
    m_soundDue = true;
    QTimer::singleShot(0, this, [this] {
        m_soundDue = false;
        m_sound.play();
    });
}

QList<ReminderPopup*> ReminderPopupFactory::openPopups() const {
    QList<ReminderPopup*> open;
    for (const Open& o : m_popups)
        if (o.popup && o.popup->isVisible()) open.append(o.popup.data());
    return open;
}

void ReminderPopupFactory::releaseOpenSlots() {
    QStringList names;
    for (ReminderPopup* popup : openPopups()) {
        if (popup->released()) continue;
        names.append(popup->slotName());
        popup->setReleased();
    }
    QString error;
    if (!SlotTable(m_profilePath).release(names, &error))
        m_messages.show(QStringLiteral("错误提示"),
                        QStringLiteral("无法写入提示文件，提示位置未能释放。\n%1").arg(error),
                        MessageIcon::Warning);
}

void ReminderPopupFactory::closeAll() {
    const QList<ReminderPopup*> open = openPopups();
    releaseOpenSlots();
    for (ReminderPopup* popup : open) popup->close();
}

void ReminderPopupFactory::renumber(const RecordGrid& grid) {
    QHash<QString, QList<int>> rows;  // the marked rows of each record the pop-ups show
    for (const Open& open : std::as_const(m_popups))
        if (open.popup)
            for (const QString& record : open.records) rows.insert(record, {});
    if (rows.isEmpty()) return;
    const QString dueMark = dueMarkText();
    for (int r = 1; r < grid.rows(); ++r) {
        if (grid.textMatrix(r, recordcolumns::kDueMark) != dueMark) continue;
        const auto it = rows.find(recordTextOf(grid, r));
        if (it != rows.end()) it->append(r);
    }
    for (const Open& open : std::as_const(m_popups)) {
        if (!open.popup) continue;
        for (int i = 0; i < open.records.size(); ++i) {
            QList<int>& found = rows[open.records.at(i)];
            const QString number = found.isEmpty()
                                       ? kGone
                                       : grid.textMatrix(found.takeFirst(), recordcolumns::kNumber);
            if (open.rests.isEmpty())
                open.popup->setLine(0, kNumberPrefix + number);
            else
                open.popup->setLine(i, lateListLine(number, open.rests.at(i)));
        }
    }
}
