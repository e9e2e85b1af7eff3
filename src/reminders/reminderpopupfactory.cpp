#include "reminders/reminderpopupfactory.h"

#include "platform/messageservice.h"
#include "reminders/reminderpopup.h"
#include "reminders/slottable.h"

ReminderPopupFactory::ReminderPopupFactory(QString profilePath, const ScreenMetrics& screen,
                                           MessageService& messages)
    : m_profilePath(std::move(profilePath)), m_screen(screen), m_messages(messages) {}

ReminderPopupFactory::~ReminderPopupFactory() {
    // Pop-ups still open here go without writing: the program's exit has released their slots.
    for (const QPointer<ReminderPopup>& popup : std::as_const(m_popups)) {
        if (!popup) continue;
        popup->setReleased();
        delete popup.data();
    }
}

void ReminderPopupFactory::openPopup(const ReminderSlot& slot, const QStringList& lines,
                                     const QString& lateNote) {
    m_popups.removeAll(nullptr);
    auto* popup = new ReminderPopup(slot, lines, lateNote, m_profilePath, m_screen, m_messages);
    m_popups.append(popup);
    popup->show();
}

QList<ReminderPopup*> ReminderPopupFactory::openPopups() const {
    QList<ReminderPopup*> open;
    for (const QPointer<ReminderPopup>& popup : m_popups)
        if (popup && popup->isVisible()) open.append(popup.data());
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
