#pragma once
// Opens a ReminderPopup window for each slot the scan fills, keeps track of the ones still open
// and, when the program ends, marks their slots free (so closing the program never leaves busy
// slots behind).

#include <QList>
#include <QPointer>
#include <QString>

#include "reminders/popupopener.h"

class MessageService;
class ReminderPopup;
class ScreenMetrics;

class ReminderPopupFactory : public PopupOpener {
  public:
    ReminderPopupFactory(QString profilePath, const ScreenMetrics& screen,
                         MessageService& messages);
    ~ReminderPopupFactory() override;

    void openPopup(const ReminderSlot& slot, const QStringList& lines,
                   const QString& lateNote) override;

    // The pop-ups that are open now, oldest first.
    QList<ReminderPopup*> openPopups() const;

    // Marks the slots of the open pop-ups free, in one write.
    void releaseOpenSlots();

  private:
    QString m_profilePath;
    const ScreenMetrics& m_screen;
    MessageService& m_messages;
    QList<QPointer<ReminderPopup>> m_popups;
};
