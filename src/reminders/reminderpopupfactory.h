#pragma once
// Opens a ReminderPopup window for each slot the scan fills (or one for a list of late rows),
// plays the alert sound once for the pop-ups of one tick, keeps track of the windows still open,
// keeps their 编号 at the row numbers their records now have in today's list, closes them all at
// once (全部关闭) and, when the program ends, marks their slots free (so closing the program never
// leaves busy slots behind).

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "reminders/popupopener.h"

class AlertSound;
class MessageService;
class RecordGrid;
class ReminderPopup;
class ScreenMetrics;

class ReminderPopupFactory : public QObject, public PopupOpener {
  public:
    ReminderPopupFactory(QString profilePath, const ScreenMetrics& screen, MessageService& messages,
                         AlertSound& sound);
    ~ReminderPopupFactory() override;

    void openPopup(const ReminderSlot& slot, const QStringList& lines, const QString& lateNote,
                   const QString& record) override;
    void openLateList(const ReminderSlot& slot, const QStringList& lines,
                      const QStringList& records) override;

    // The pop-ups that are open now, oldest first.
    QList<ReminderPopup*> openPopups() const;

    // Marks the slots of the open pop-ups free, in one write.
    void releaseOpenSlots();
    // 全部关闭: frees the open pop-ups' slots in one write and closes the windows.
    void closeAll();

    void setSoundOn(bool on) { m_soundOn = on; }

    // Shows in each open pop-up the number of its records' rows: the marked rows of the grid that
    // hold those records, in order; "—" for a record no longer in the list.
    void renumber(const RecordGrid& grid);

  private:
    struct Open {
        QPointer<ReminderPopup> popup;
        QStringList records;
        QStringList rests;  // of a list of late rows, each line after its number; else empty
    };
    void opened(ReminderPopup* popup, QStringList records, QStringList rests);

    QString m_profilePath;
    const ScreenMetrics& m_screen;
    MessageService& m_messages;
    AlertSound& m_sound;
    bool m_soundOn = true;
    bool m_soundDue = false;
    QList<Open> m_popups;
};
